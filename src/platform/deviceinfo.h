// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QString>

namespace platform
{

// What the device says of itself: sent with a login so that the service can tell clients apart.
class DeviceInfo final
{
public:
    static QString model();          // e.g. "x86_64"
    static QString localizedModel(); // e.g. "linux 6.1.0"
    static QString systemName();     // e.g. "Debian GNU/Linux"
    static QString systemVersion();  // e.g. "12"
};

} // namespace platform
