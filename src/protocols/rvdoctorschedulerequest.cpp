// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvdoctorschedulerequest.h"

using namespace Qt::StringLiterals;

const QStringList &RVDoctorScheduleRequest::keys()
{
    static const QStringList k{u"pblsh"_s};
    return k;
}

void RVDoctorScheduleRequest::bodyWithDictionary(const QJsonObject &body)
{
    RVDoctorInfoRequest::bodyWithDictionary(body);
    readKeys(body, keys());
}

QJsonObject RVDoctorScheduleRequest::body_dict() const
{
    QJsonObject body = RVDoctorInfoRequest::body_dict();
    writeKeys(body, keys());
    return body;
}
