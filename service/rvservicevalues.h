// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QJsonValue>
#include <QString>

#include <optional>

// Reads the values of a request body as the service needs them. Everything here comes from
// the network, so every conversion is range-checked: a JSON number such as 1e19 or a text of
// twenty digits must become "not a usable number", never an out-of-range cast.
class RVServiceValues final
{
public:
    // A text, or a number written as the client would write it (whole numbers without a
    // fraction); anything else is empty.
    static QString text(const QJsonValue &value);
    // The whole number a value holds (a JSON number, or a text of optional sign and digits
    // with blanks around them); nullopt when it holds none or one outside [min, max].
    static std::optional<qint64> wholeNumber(const QJsonValue &value, qint64 min, qint64 max);
};
