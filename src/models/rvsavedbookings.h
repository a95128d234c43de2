// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvbookingcalendar.h"
#include "models/rvuserstore.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// A user's bookings with their hospitals, for the calendar and the passes: from the service
// when it answers (and kept on the device on the way), else as the device kept them.
class RVSavedBookings final
{
public:
    using Entries = QList<RVBookingCalendar::Entry>;
    struct Outcome {
        bool ok = false;
        QString message;
        // The service could not be reached: the entries are the kept ones.
        bool offline = false;
        std::optional<QDateTime> refreshed;
        Entries entries;
    };

    // Blocks on the service; for a worker or a command.
    static Outcome fetch(const RVUserStore &user);
    // As the device kept them, offline; not ok when nothing was ever kept.
    static Outcome kept(const RVUserStore &user);
    // One booking with its hospital: asked of the service when online, else as kept. For a
    // worker.
    static RVBookingCalendar::Entry entryOf(const RVUserStore &user,
                                            const RVReservationInfo &booking, bool online);
    // Only the open bookings of the entries.
    static Entries openOnly(const Entries &entries);
};
