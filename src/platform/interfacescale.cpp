// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "platform/interfacescale.h"

#include "platform/userdefaults.h"

#include <cmath>

namespace platform
{

namespace
{
bool inRange(double factor)
{
    return std::isfinite(factor) && factor >= InterfaceScale::kMinimum &&
           factor <= InterfaceScale::kMaximum;
}
} // namespace

std::optional<double> InterfaceScale::parse(const QString &text)
{
    bool ok = false;
    const double factor = text.trimmed().toDouble(&ok);
    if (!ok || !inRange(factor))
        return std::nullopt;
    return factor;
}

double InterfaceScale::stored(const UserDefaults &defaults)
{
    const double factor = defaults.objectForKey(kDefaultsKey.toString()).toDouble(kMinimum);
    return inRange(factor) ? factor : kMinimum;
}

bool InterfaceScale::store(UserDefaults &defaults, double factor)
{
    if (!inRange(factor))
        return false;
    return defaults.setObjectsAndSynchronize({{kDefaultsKey.toString(), factor}});
}

QByteArray InterfaceScale::scaleFactorVariable(double factor, const QByteArray &existing)
{
    bool ok = false;
    const double given = existing.toDouble(&ok);
    const double total = ok && given > 0 && std::isfinite(given) ? given * factor : factor;
    return QByteArray::number(total, 'g', 6);
}

} // namespace platform
