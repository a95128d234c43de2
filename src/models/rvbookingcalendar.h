// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvhospitalinfo.h"
#include "protocols/rvreservationinfo.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// Bookings as an iCalendar file (RFC 5545) that a calendar application imports: one event a
// booking, half an hour from the slot's time, with reminders a day and two hours before (none
// for a cancelled booking, whose title begins with "已取消"). An
// event keeps its identifier from export to export, so that importing a later file updates
// it, and a booking that is no longer open comes back cancelled with a higher sequence, which
// removes it from the calendar. Written by libical (folding, escaping, line ends); a part the
// booking lacks is left out.
class RVBookingCalendar final
{
public:
    struct Entry {
        RVReservationInfo booking;
        // Gives the address and the telephone; the booking alone names the hospital.
        std::optional<RVHospitalInfo> hospital;
    };

    // The file; written is the number of events. A booking without a readable time has none.
    static QByteArray write(const QList<Entry> &entries, const QString &host,
                            int *written = nullptr,
                            const QDateTime &now = QDateTime::currentDateTimeUtc());

    // The slot's time (China Standard Time), from "yyyy-MM-dd HH:mm[:ss]".
    static std::optional<QDateTime> startOf(const RVReservationInfo &booking);
    // The booking on this service: its serial number at the service's host.
    static QString uidOf(const RVReservationInfo &booking, const QString &host);
    static QString summaryOf(const RVReservationInfo &booking);
    static QString locationOf(const Entry &entry);
    static QString descriptionOf(const Entry &entry);
};
