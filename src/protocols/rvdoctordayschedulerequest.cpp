// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvdoctordayschedulerequest.h"

using namespace Qt::StringLiterals;

const QStringList &RVDoctorDayScheduleRequest::keys()
{
    static const QStringList k{u"pbid"_s};
    return k;
}

void RVDoctorDayScheduleRequest::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    readKeys(body, keys());
}

QJsonObject RVDoctorDayScheduleRequest::body_dict() const
{
    QJsonObject body = RVBaseInfo::body_dict();
    writeKeys(body, keys());
    return body;
}
