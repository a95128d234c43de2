// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvdoctordayschedulereply.h"

using namespace Qt::StringLiterals;

void RVDoctorDayScheduleReply::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    m_timeSchedule = rvReadList<RVDoctorTimeSchedule>(body, u"list"_s);
}

QJsonObject RVDoctorDayScheduleReply::body_dict() const
{
    QJsonObject body = RVBaseInfo::body_dict();
    body.insert(u"list"_s, rvWriteList(m_timeSchedule));
    return body;
}
