// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvlogmasking.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace
{
constexpr qsizetype shownHead = 3;
constexpr qsizetype shownTail = 4;
constexpr qsizetype minHidden = 4;

// The value of a masked key as it is written to the log: a login name shortened, anything else
// gone.
QString shown(const QString &key, const QString &value)
{
    const bool quoted = value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"');
    // An escape sequence could be cut in two; such a name is hidden whole.
    if (key != u"yhm"_s || !quoted || value.contains(u'\\'))
        return u"\"***\""_s;
    return u'"' + RVLogMasking::loginName(value.mid(1, value.size() - 2)) + u'"';
}
} // namespace

QString RVLogMasking::masked(const QString &jsonText)
{
    // A key, then either a quoted text (escapes included) or any bare value up to the next
    // separator.
    static const QRegularExpression field(
        uR"re("(mm|yymm|gzmy|yhm|sfzhm|sjhm|gddh|dz|lxdz|yb|dzyx|xm|brxm|csny|ylkh)"\s*:\s*)re"
        uR"re(("(?:[^"\\]|\\.)*"|[^,}\]\s]+))re"_s);
    QString result;
    qsizetype copied = 0;
    for (auto it = field.globalMatch(jsonText); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        result += QStringView(jsonText).sliced(copied, match.capturedStart(2) - copied);
        result += shown(match.captured(1), match.captured(2));
        copied = match.capturedEnd(2);
    }
    return copied == 0 ? jsonText : result + QStringView(jsonText).sliced(copied);
}

QString RVLogMasking::loginName(const QString &name)
{
    if (name.isEmpty())
        return {};
    if (name.size() < shownHead + minHidden + shownTail)
        return u"****"_s;
    return name.left(shownHead) + u"****"_s + name.right(shownTail);
}
