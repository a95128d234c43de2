// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvschedulegrid.h"

#include "protocols/rvprotocol.h"

#include <QCoreApplication>
#include <QLocale>

using namespace Qt::StringLiterals;

RVScheduleGrid::RVScheduleGrid(const QDate &today, Schedules schedules)
    : m_today(today), m_schedules(std::move(schedules))
{
    // Later rows win a key they share with an earlier one, as when the rows are built in order.
    m_byKey.reserve(int(m_schedules.size()) * 2);
    for (int row = 0; row < kDays; ++row) {
        for (const RVDoctorScheduleInfo &schedule : schedulesOf(row))
            m_byKey.insert(buttonKey(schedule, row), schedule);
    }
}

RVLoadOutcome<RVScheduleGrid::Schedules> RVScheduleGrid::load(const QString &hospid,
                                                              const QString &ysdm)
{
    RVProtocol protocol;
    Schedules schedules =
        protocol.doctorScheduleForHospital(QString(), hospid, ysdm).value_or(Schedules());
    return RVLoadOutcome<Schedules>::of(protocol, std::move(schedules));
}

QString RVScheduleGrid::dayLabel(int row) const
{
    return day(row).toString(u"M.d"_s);
}

QList<RVDoctorScheduleInfo> RVScheduleGrid::schedulesOf(int row) const
{
    // The calendar year: a week-based year would file the days around New Year under the
    // wrong year and their schedules would never be found.
    return m_schedules.value(day(row).toString(u"yyyy-MM-dd"_s));
}

std::optional<RVDoctorScheduleInfo> RVScheduleGrid::halfDayToOpen(const QString &key) const
{
    return halfDayIn(key, State::Open);
}

std::optional<RVDoctorScheduleInfo> RVScheduleGrid::halfDayToWatch(const QString &key) const
{
    return halfDayIn(key, State::FullyBooked);
}

std::optional<RVDoctorScheduleInfo> RVScheduleGrid::halfDayIn(const QString &key, State state) const
{
    const auto found = m_byKey.constFind(key);
    if (found == m_byKey.constEnd() || stateOf(*found) != state)
        return std::nullopt;
    return *found;
}

RVScheduleGrid::State RVScheduleGrid::stateOf(const RVDoctorScheduleInfo &schedule)
{
    if (RVBaseInfo::intValue(schedule.jlzt()) != 0)
        return State::Stopped;
    return RVBaseInfo::intValue(schedule.kyrs()) != 0 ? State::Open : State::FullyBooked;
}

QString RVScheduleGrid::title(const RVDoctorScheduleInfo &schedule)
{
    // Shown as text whether the service sent the count as text or as a number.
    return stateOf(schedule) == State::Stopped ? QString() : RVBaseInfo::text(schedule.kyrs());
}

RVScheduleGrid::Column RVScheduleGrid::columnOf(const RVDoctorScheduleInfo &schedule)
{
    switch (RVBaseInfo::intValue(schedule.bcbm())) {
    case 1:
        return Column::Morning;
    case 2:
        return Column::Afternoon;
    default:
        return Column::None;
    }
}

QString RVScheduleGrid::shiftText(const QJsonValue &bcbm)
{
    switch (RVBaseInfo::intValue(bcbm)) {
    case 1:
        return QCoreApplication::translate("RVScheduleGrid", "上午");
    case 2:
        return QCoreApplication::translate("RVScheduleGrid", "下午");
    default:
        return {};
    }
}

QString RVScheduleGrid::dayText(const QDate &day)
{
    return QLocale().toString(day, QCoreApplication::translate("RVScheduleGrid", "M月d日"));
}

QString RVScheduleGrid::buttonKey(long long shift, int row)
{
    return QString::number(shift) + u'0' + QString::number(row);
}

QString RVScheduleGrid::buttonKey(const RVDoctorScheduleInfo &schedule, int row)
{
    return buttonKey(RVBaseInfo::intValue(schedule.bcbm()), row);
}
