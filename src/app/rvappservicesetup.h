// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QString>

class RVAppOptions;

// Puts the service options of a start in force for every exchange, photo and store lookup:
// the service's URL, whether plain HTTP may leave the machine, and the hospital's CA. A CA file
// given on the command line is kept, like the interface's scale, and trusted again at later
// starts (not in runs that keep their values in the test location).
class RVAppServiceSetup final
{
public:
    RVAppServiceSetup() = delete;

    static constexpr QStringView kCaFileKey = u"ServiceCaFile";

    // False with *error (for the standard error, exit status 2) when the options cannot be
    // used: an unreadable CA file, or plain HTTP beyond loopback that is not allowed.
    static bool apply(const RVAppOptions &options, QString *error);
};
