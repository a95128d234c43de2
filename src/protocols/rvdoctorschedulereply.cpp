// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvdoctorschedulereply.h"

using namespace Qt::StringLiterals;

void RVDoctorScheduleReply::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    const QJsonArray list = body.value(u"list"_s).toArray();
    Schedules grouped;
    grouped.reserve(list.size() / 2);
    for (const QJsonValue &element : list) {
        const auto schedule = fromDictionary<RVDoctorScheduleInfo>(element.toObject());
        // A schedule without a day cannot be placed on the calendar; it is left out.
        if (!schedule.jzrq().isString())
            continue;
        QList<RVDoctorScheduleInfo> &day = grouped[schedule.jzrq().toString()];
        if (day.isEmpty())
            day.reserve(2);
        day.append(schedule);
    }
    m_schedules = std::move(grouped);
}
