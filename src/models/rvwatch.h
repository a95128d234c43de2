// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvdoctorinfo.h"
#include "protocols/rvdoctorscheduleinfo.h"
#include "protocols/rvreservationinfo.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// A watch on a fully booked half-day: the doctor as the doctor detail had it (enough to open
// the half-day's time slots again), the half-day's schedule as it was when the watch was set,
// and when that was. It says which half-day it stands for, when it has ended by itself (the
// half-day is past, or the user booked it), whether a fresh schedule shows places again, and
// the text that tells the user so.
class RVWatch final
{
public:
    // How many watches one user may keep: each costs the service a request a minute.
    static constexpr int kMaxWatches = 5;
    enum class Added { Added, AlreadyWatched, Full, Failed };

    RVWatch() = default;
    RVWatch(RVDoctorInfo doctor, RVDoctorScheduleInfo schedule,
            QDateTime created = QDateTime::currentDateTimeUtc());

    const RVDoctorInfo &doctor() const { return m_doctor; }
    const RVDoctorScheduleInfo &schedule() const { return m_schedule; }
    QDateTime created() const { return m_created; }

    // The doctor and the half-day: two watches with one key watch the same thing.
    QString key() const;
    static QString keyOf(const RVDoctorInfo &doctor, const RVDoctorScheduleInfo &schedule);
    // The day as the schedule gives it.
    QString dayText() const { return RVBaseInfo::text(m_schedule.jzrq()); }
    // "上午" or "下午".
    QString halfDayName() const;
    // The day and the half-day, "2026-05-09 下午".
    QString whenText() const { return dayText() + u' ' + halfDayName(); }
    QString doctorName() const;

    // The service takes bookings up to the end of the half-day's date, so a watch lasts as long.
    bool isPast(const QDate &today) const;
    // An open booking of the user for this doctor and half-day.
    bool isBookedIn(const QList<RVReservationInfo> &bookings) const;
    // This half-day in a fresh answer of the doctor's schedules, when it takes bookings again.
    std::optional<RVDoctorScheduleInfo>
    openIn(const QHash<QString, QList<RVDoctorScheduleInfo>> &schedules) const;

    // "<doctor> <day> 上午/下午 有号了".
    QString hitText() const;
    // Posted (platform::NotificationCenter) by the user's store when a watch was added or ended,
    // on the thread that changed it.
    static QString changedNotification();
    // What the user is told after asking for a watch.
    static QString messageOf(Added added);

private:
    RVDoctorInfo m_doctor;
    RVDoctorScheduleInfo m_schedule;
    QDateTime m_created;
};
