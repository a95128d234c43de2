// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvreminderschedule.h"

#include "models/rvbookingcalendar.h"
#include "models/rvbookingstore.h"
#include "models/rvschedulegrid.h"

#include <QCoreApplication>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace
{
constexpr qint64 kDaySeconds = 24 * 3600;
constexpr qint64 kTwoHoursSeconds = 2 * 3600;

RVReminderSchedule::Reminder reminderOf(const RVReservationInfo &booking, const QDateTime &visit,
                                        RVReminderSchedule::Mark mark)
{
    const bool day = mark == RVReminderSchedule::Mark::DayBefore;
    RVReminderSchedule::Reminder reminder{
        booking, mark, visit.addSecs(-(day ? kDaySeconds : kTwoHoursSeconds)), visit, QString()};
    reminder.key = RVBookingStore::keyOf(booking) + u'|' + visit.toUTC().toString(Qt::ISODate) +
                   (day ? u"|day"_s : u"|2h"_s);
    return reminder;
}

QString timeOf(const RVReminderSchedule::Reminder &reminder)
{
    const QString date = reminder.visit.toString(u"yyyy-MM-dd"_s);
    const QString time = reminder.visit.toString(u"HH:mm"_s);
    const QString halfDay = RVScheduleGrid::shiftText(reminder.booking.bcbm());
    if (halfDay.isEmpty())
        return QCoreApplication::translate("RVReminderSchedule", "时间：%1 %2").arg(date, time);
    return QCoreApplication::translate("RVReminderSchedule", "时间：%1 %2 %3")
        .arg(date, halfDay, time);
}
} // namespace

RVReminderSchedule::RVReminderSchedule(const QList<RVReservationInfo> &bookings,
                                       QSet<QString> shown)
    : m_shown(std::move(shown))
{
    for (const RVReservationInfo &booking : bookings) {
        const auto visit = RVBookingCalendar::startOf(booking);
        if (!booking.isOpen() || !visit)
            continue;
        m_reminders.append(reminderOf(booking, *visit, Mark::DayBefore));
        m_reminders.append(reminderOf(booking, *visit, Mark::TwoHoursBefore));
    }
}

QList<RVReminderSchedule::Reminder> RVReminderSchedule::due(const QDateTime &now) const
{
    QList<Reminder> due;
    for (qsizetype i = 0; i + 1 < m_reminders.size(); i += 2) {
        const Reminder &day = m_reminders.at(i);
        const Reminder &twoHours = m_reminders.at(i + 1);
        if (now >= day.visit || now < day.at || m_shown.contains(twoHours.key))
            continue;
        // Of two moments passed unseen, the later alone: the earlier is out of date.
        const Reminder &latest = now >= twoHours.at ? twoHours : day;
        if (!m_shown.contains(latest.key))
            due.append(latest);
    }
    return due;
}

std::optional<QDateTime> RVReminderSchedule::next(const QDateTime &now) const
{
    std::optional<QDateTime> next;
    for (const Reminder &reminder : m_reminders) {
        if (reminder.at > now && !m_shown.contains(reminder.key) && (!next || reminder.at < *next))
            next = reminder.at;
    }
    return next;
}

std::optional<RVReservationInfo> RVReminderSchedule::bookingOf(const QString &key) const
{
    const auto found = std::find_if(m_reminders.cbegin(), m_reminders.cend(),
                                    [&key](const Reminder &r) { return r.key == key; });
    return found != m_reminders.cend() ? std::optional(found->booking) : std::nullopt;
}

QString RVReminderSchedule::summary()
{
    // The same for both: one shown late tells its time in the body, not "tomorrow".
    return QCoreApplication::translate("RVReminderSchedule", "就诊提醒");
}

QString RVReminderSchedule::bodyOf(const Reminder &reminder,
                                   const std::optional<RVHospitalInfo> &hospital)
{
    const RVReservationInfo &b = reminder.booking;
    const QString doctor = RVBaseInfo::text(b.ysmc()).trimmed();
    const QString department = RVBaseInfo::text(b.bzksmc()).trimmed();
    QStringList lines;
    if (!doctor.isEmpty() || !department.isEmpty())
        lines << QCoreApplication::translate("RVReminderSchedule", "医生：%1")
                     .arg(QStringList{doctor, department}.join(u' ').trimmed());
    lines << timeOf(reminder);
    const QString place = RVBookingCalendar::locationOf({b, hospital});
    if (!place.isEmpty())
        lines << QCoreApplication::translate("RVReminderSchedule", "医院：%1").arg(place);
    return lines.join(u'\n');
}
