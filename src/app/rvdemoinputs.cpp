// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "app/rvdemoinputs.h"

#include "models/rvdoctorlistpages.h"
#include "models/rvschedulegrid.h"
#include "protocols/rvprotocol.h"

using namespace Qt::StringLiterals;

namespace
{
bool isOpen(const RVDoctorScheduleInfo &schedule)
{
    return RVBaseInfo::intValue(schedule.jlzt()) == 0 && RVBaseInfo::intValue(schedule.kyrs()) > 0;
}

std::optional<RVDoctorScheduleInfo> openHalfDay(const RVDoctorInfo &doctor, const QDate &today)
{
    const auto days = RVProtocol().doctorScheduleForHospital(
        QString(), RVBaseInfo::text(doctor.hospid()), RVBaseInfo::text(doctor.ysdm()));
    for (int day = 1; days && day < RVScheduleGrid::kDays; ++day) {
        for (const RVDoctorScheduleInfo &schedule :
             days->value(today.addDays(day).toString(u"yyyy-MM-dd"_s))) {
            if (isOpen(schedule))
                return schedule;
        }
    }
    return std::nullopt;
}
} // namespace

RVDemoInputs RVDemoInputs::fetch(const QDate &today)
{
    RVDemoInputs inputs;
    const auto hospitals = RVProtocol().hospitalList(QString());
    if (hospitals && !hospitals->isEmpty()) {
        const QString code = RVBaseInfo::text(hospitals->first().hospid());
        inputs.hospital = RVProtocol().hospitalInfo(code);
    }
    const auto doctors = RVProtocol().doctorList(QString(), QString(), QString(), QString(), 1,
                                                 RVDoctorListPages::kPageSize);
    for (qsizetype row = 0; doctors && row < doctors->size() && !inputs.schedule; ++row) {
        inputs.schedule = openHalfDay(doctors->at(row), today);
        if (inputs.schedule) {
            inputs.doctor = doctors->at(row);
            inputs.doctorRow = int(row);
        }
    }
    if (inputs.schedule) {
        const auto slots =
            RVProtocol().doctorDayScheduleForScheduleId(RVBaseInfo::text(inputs.schedule->pbid()));
        if (slots && !slots->isEmpty())
            inputs.slot = slots->first();
    }
    return inputs;
}

QString RVDemoInputs::demoAccountName()
{
    return u"13800138000"_s;
}

QString RVDemoInputs::demoAccountPassword()
{
    return u"123456"_s;
}
