// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvhalfdayname.h"

#include "models/rvschedulegrid.h"

#include <QStringList>

namespace
{
QString halfOf(const RVDoctorScheduleInfo &schedule)
{
    switch (RVScheduleGrid::columnOf(schedule)) {
    case RVScheduleGrid::Column::Morning:
        return RVHalfDayName::tr("上午");
    case RVScheduleGrid::Column::Afternoon:
        return RVHalfDayName::tr("下午");
    case RVScheduleGrid::Column::None:
        break;
    }
    return {};
}

QString stateOf(const RVDoctorScheduleInfo &schedule)
{
    switch (RVScheduleGrid::stateOf(schedule)) {
    case RVScheduleGrid::State::Stopped:
        return RVHalfDayName::tr("停诊");
    case RVScheduleGrid::State::FullyBooked:
        return RVHalfDayName::tr("约满");
    case RVScheduleGrid::State::Open:
        break;
    }
    return RVHalfDayName::tr("预约") + u' ' +
           RVHalfDayName::tr("余%1").arg(RVScheduleGrid::title(schedule));
}
} // namespace

QString RVHalfDayName::of(const QDate &day, const RVDoctorScheduleInfo &schedule)
{
    QStringList parts{RVScheduleGrid::dayText(day), halfOf(schedule), stateOf(schedule)};
    parts.removeAll(QString());
    return parts.join(u' ');
}
