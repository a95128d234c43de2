// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvhospitalinfo.h"
#include "protocols/rvreservationinfo.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>

// When to remind the patient of the open bookings: a day and two hours before each visit.
// A reminder is shown once; one whose moment passed unseen (the application was closed) is
// still shown while the visit is ahead, and of a booking's two only the later one then. Visits
// are at the slot's time as the booking record gives it (the hospital's time). No widgets and
// no clock of its own: the caller says what "now" is.
class RVReminderSchedule final
{
public:
    enum class Mark { DayBefore, TwoHoursBefore };
    struct Reminder {
        RVReservationInfo booking;
        Mark mark = Mark::DayBefore;
        QDateTime at;
        QDateTime visit;
        // Names this reminder of this booking at this time: a booking moved to another time
        // is reminded again.
        QString key;
    };

    // shown: the keys of the reminders not to show (shown already, or being shown).
    RVReminderSchedule(const QList<RVReservationInfo> &bookings, QSet<QString> shown);

    // The reminders to show now, at most one a booking.
    QList<Reminder> due(const QDateTime &now) const;
    // The next moment after now at which a reminder falls.
    std::optional<QDateTime> next(const QDateTime &now) const;
    // The booking the reminder with that key is for.
    std::optional<RVReservationInfo> bookingOf(const QString &key) const;

    static QString summary();
    // The doctor, the time and the hospital; the kept hospital record gives its address.
    static QString bodyOf(const Reminder &reminder, const std::optional<RVHospitalInfo> &hospital);

private:
    // The booking's reminders, the earlier first.
    QList<Reminder> m_reminders;
    QSet<QString> m_shown;
};
