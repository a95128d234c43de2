// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/rvmarkupparser.h"

#include <QHash>
#include <QList>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace
{

// Appends text with "&lt;" and "&gt;" decoded. The two entities cannot overlap and neither
// decoding produces the other, so one left-to-right pass equals replacing each in turn.
void appendDecoded(QString &out, QStringView text)
{
    qsizetype from = 0;
    for (qsizetype amp = text.indexOf(u'&'); amp >= 0; amp = text.indexOf(u'&', amp + 1)) {
        const QStringView entity = text.mid(amp, 4);
        const bool lt = entity == u"&lt;";
        if (!lt && entity != u"&gt;")
            continue;
        out += text.mid(from, amp - from);
        out += lt ? u'<' : u'>';
        from = amp + 4;
        amp += 3;
    }
    out += text.mid(from);
}

QString stripDoubleQuotes(QString value)
{
    if (value.startsWith(u'"'))
        value.remove(0, 1);
    if (value.endsWith(u'"'))
        value.chop(1);
    return value;
}

// "<name key=value key2 ...": the name as written, keys lower-cased, a bare key is its own
// value, a value keeps any further "=" and loses one surrounding pair of double quotes.
RVMarkupComponent openingComponent(QStringView tagText, qsizetype position)
{
    const QList<QStringView> pieces = tagText.mid(1).split(u' ');
    RVMarkupComponent::Attributes attributes;
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        const qsizetype eq = pieces[i].indexOf(u'=');
        const QString key = pieces[i].left(eq < 0 ? pieces[i].size() : eq).toString().toLower();
        attributes.insert(key, eq < 0 ? key : stripDoubleQuotes(pieces[i].mid(eq + 1).toString()));
    }
    return RVMarkupComponent(pieces.first().toString(), attributes, position);
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

RVMarkupExtractedComponent
RVMarkupParser::extractTextStyleFromText(const QString &markup, const QString &paragraphReplacement)
{
    qsizetype open = markup.indexOf(u'<');
    qsizetype close = open < 0 ? -1 : markup.indexOf(u'>', open);
    if (close < 0)
        return RVMarkupExtractedComponent({}, markup);

    QString plain;
    plain.reserve(markup.size());
    QList<RVMarkupComponent> components;
    // Open components by name, innermost last: a closing tag takes the most recent one.
    QHash<QString, QList<qsizetype>> openByName;
    const QStringView view(markup);
    qsizetype scanned = 0;
    while (close >= 0) {
        appendDecoded(plain, view.mid(scanned, open - scanned));
        const QStringView tagText = view.mid(open, close - open);
        if (tagText.startsWith(u"</")) {
            auto stack = openByName.find(tagText.mid(2).toString());
            if (stack != openByName.end() && !stack->isEmpty()) {
                RVMarkupComponent &component = components[stack->takeLast()];
                component.setText(plain.mid(component.position()));
            }
        } else {
            components.append(openingComponent(tagText, plain.size()));
            openByName[components.last().tagLabel()].append(components.size() - 1);
            if (tagText.startsWith(u"<p"))
                plain += paragraphReplacement;
        }
        scanned = close + 1;
        open = markup.indexOf(u'<', scanned);
        close = open < 0 ? -1 : markup.indexOf(u'>', open);
    }
    appendDecoded(plain, view.mid(scanned));
    return RVMarkupExtractedComponent(components, plain);
}

std::optional<std::array<double, 4>> RVMarkupParser::hexColorComponents(QStringView text)
{
    QStringView digits = text.trimmed();
    if (digits.startsWith(u'#'))
        digits = digits.mid(1);
    if (digits.size() < 6)
        return std::nullopt;
    std::array<double, 4> rgba{0, 0, 0, 1};
    for (int i = 0; i < 3; ++i) {
        const int high = hexDigit(digits[2 * i].toUpper());
        const int low = hexDigit(digits[2 * i + 1].toUpper());
        if (high < 0 || low < 0)
            return std::nullopt;
        rgba[i] = (high * 16 + low) / 255.0;
    }
    return rgba;
}

int RVMarkupParser::intValue(QStringView text)
{
    const QStringView t = text.trimmed();
    qsizetype i = 0;
    const bool negative = i < t.size() && t[i] == u'-';
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        ++i;
    long long value = 0;
    for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i) {
        value = value * 10 + (t[i].unicode() - u'0');
        if (value > std::numeric_limits<int>::max())
            return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    return int(negative ? -value : value);
}

double RVMarkupParser::doubleValue(QStringView text)
{
    const QStringView t = text.trimmed();
    qsizetype end = 0;
    if (end < t.size() && (t[end] == u'-' || t[end] == u'+'))
        ++end;
    bool seenPoint = false;
    for (; end < t.size(); ++end) {
        if (t[end] == u'.' && !seenPoint)
            seenPoint = true;
        else if (t[end] < u'0' || t[end] > u'9')
            break;
    }
    bool ok = false;
    const double value = t.left(end).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

bool RVMarkupParser::isConsistent(const RVMarkupExtractedComponent &result)
{
    const QString &plain = result.plainText();
    for (const RVMarkupComponent &component : result.textComponents()) {
        if (component.position() < 0 || component.position() > plain.size())
            return false;
        if (component.text() &&
            QStringView(plain).mid(component.position(), component.length()) != *component.text())
            return false;
    }
    return true;
}
