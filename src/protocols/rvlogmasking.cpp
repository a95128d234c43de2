// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvlogmasking.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

QString RVLogMasking::masked(const QString &jsonText)
{
    // A key, then either a quoted text (escapes included) or any bare value up to the next
    // separator.
    static const QRegularExpression secret(
        uR"re("(mm|yymm|gzmy)"(\s*:\s*)(?:"(?:[^"\\]|\\.)*"|[^,}\]\s]+))re"_s);
    QString masked = jsonText;
    return masked.replace(secret, uR"("\1"\2"***")"_s);
}
