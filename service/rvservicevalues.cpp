// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicevalues.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace
{
// Doubles hold every whole number up to 2^53 exactly; beyond that a JSON number is not a
// trustworthy identifier or count, and beyond 2^63 it has no 64-bit integer at all.
constexpr double exactLimit = 9007199254740992.0; // 2^53
} // namespace

QString RVServiceValues::text(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (!value.isDouble())
        return {};
    const double d = value.toDouble();
    if (std::isfinite(d) && std::trunc(d) == d && std::fabs(d) <= exactLimit)
        return QString::number(static_cast<qint64>(d));
    return QString::number(d, 'g', 17);
}

std::optional<qint64> RVServiceValues::wholeNumber(const QJsonValue &value, qint64 min, qint64 max)
{
    if (value.isDouble()) {
        const double d = value.toDouble();
        if (!std::isfinite(d) || std::trunc(d) != d || std::fabs(d) > exactLimit)
            return std::nullopt;
        const auto n = static_cast<qint64>(d);
        return n >= min && n <= max ? std::optional<qint64>(n) : std::nullopt;
    }
    if (!value.isString())
        return std::nullopt;
    const QString s = value.toString().trimmed();
    qsizetype i = 0;
    const bool negative = s.startsWith(u'-');
    if (negative || s.startsWith(u'+'))
        ++i;
    if (i == s.size())
        return std::nullopt;
    // Accumulate towards zero on the negative side so that the most negative value fits.
    qint64 n = 0;
    for (; i < s.size(); ++i) {
        const char16_t c = s.at(i).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c - u'0';
        if (negative ? n < (min - -digit) / 10 : n > (max - digit) / 10)
            return std::nullopt;
        n = negative ? n * 10 - digit : n * 10 + digit;
    }
    return n >= min && n <= max ? std::optional<qint64>(n) : std::nullopt;
}
