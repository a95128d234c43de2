// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvwatch.h"

#include "models/rvschedulegrid.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace
{
QString tr(const char *text)
{
    return QCoreApplication::translate("RVWatch", text);
}

bool sameHalfDay(const QJsonValue &day, const QJsonValue &shift, const RVDoctorScheduleInfo &half)
{
    return RVBaseInfo::text(day) == RVBaseInfo::text(half.jzrq()) &&
           RVBaseInfo::intValue(shift) == RVBaseInfo::intValue(half.bcbm());
}
} // namespace

RVWatch::RVWatch(RVDoctorInfo doctor, RVDoctorScheduleInfo schedule, QDateTime created)
    : m_doctor(std::move(doctor)), m_schedule(std::move(schedule)), m_created(std::move(created))
{
}

QString RVWatch::key() const
{
    return keyOf(m_doctor, m_schedule);
}

QString RVWatch::keyOf(const RVDoctorInfo &doctor, const RVDoctorScheduleInfo &schedule)
{
    return QStringList{RVBaseInfo::text(doctor.hospid()), RVBaseInfo::text(doctor.ysdm()),
                       RVBaseInfo::text(schedule.jzrq()),
                       QString::number(RVBaseInfo::intValue(schedule.bcbm()))}
        .join(u'|');
}

QString RVWatch::halfDayName() const
{
    return RVScheduleGrid::shiftText(m_schedule.bcbm());
}

QString RVWatch::doctorName() const
{
    const QString name = RVBaseInfo::text(m_doctor.ysmc());
    return name.isEmpty() ? RVBaseInfo::text(m_schedule.ysmc()) : name;
}

bool RVWatch::isPast(const QDate &today) const
{
    // A day that cannot be read has no half-day left to wait for.
    const QDate day = QDate::fromString(dayText(), u"yyyy-MM-dd"_s);
    return !day.isValid() || day < today;
}

bool RVWatch::isBookedIn(const QList<RVReservationInfo> &bookings) const
{
    const QString ysdm = RVBaseInfo::text(m_doctor.ysdm());
    for (const RVReservationInfo &booking : bookings) {
        if (booking.isOpen() && RVBaseInfo::text(booking.ysdm()) == ysdm &&
            sameHalfDay(booking.jzrq(), booking.bcbm(), m_schedule))
            return true;
    }
    return false;
}

std::optional<RVDoctorScheduleInfo>
RVWatch::openIn(const QHash<QString, QList<RVDoctorScheduleInfo>> &schedules) const
{
    for (const RVDoctorScheduleInfo &fresh : schedules.value(dayText())) {
        if (sameHalfDay(fresh.jzrq(), fresh.bcbm(), m_schedule) &&
            RVScheduleGrid::stateOf(fresh) == RVScheduleGrid::State::Open)
            return fresh;
    }
    return std::nullopt;
}

QString RVWatch::hitText() const
{
    return tr("%1 %2 %3 有号了").arg(doctorName(), dayText(), halfDayName());
}

QString RVWatch::changedNotification()
{
    return u"RVWatchesChanged"_s;
}

QString RVWatch::messageOf(Added added)
{
    switch (added) {
    case Added::Added:
        return tr("已设置有号提醒");
    case Added::AlreadyWatched:
        return tr("该时段已设置有号提醒");
    case Added::Full:
        return tr("最多只能设置%1个有号提醒，请先删除一个").arg(kMaxWatches);
    case Added::Failed:
        break;
    }
    return tr("有号提醒未能保存");
}
