// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "app/rvappoptions.h"
#include "models/rvsavedbookings.h"

// The exports run from the command line, without a window: the saved user's bookings as a
// calendar file and the open ones as printable passes. They log in with the saved login and
// take the bookings from the service, or from what the device kept when the service cannot be
// reached. The number written goes to the standard output; a failure is a message on the
// standard error and a status other than 0.
class RVExportCommand final
{
public:
    // Whether the arguments ask for an export; read before any application object exists,
    // since an export needs no display.
    static bool requested(int argc, char **argv);
    // The exit status.
    static int run(const RVAppOptions &options);

private:
    static std::optional<RVSavedBookings::Outcome> savedBookings();
    static bool exportCalendar(const RVSavedBookings::Entries &entries, const QString &path);
    static bool exportPasses(const RVSavedBookings::Entries &entries, const QString &folder);
};
