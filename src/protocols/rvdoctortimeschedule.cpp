// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvdoctortimeschedule.h"

using namespace Qt::StringLiterals;

const QStringList &RVDoctorTimeSchedule::keys()
{
    static const QStringList k{u"fzxh"_s, u"yysj"_s};
    return k;
}

void RVDoctorTimeSchedule::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    readKeys(body, keys());
}

QJsonObject RVDoctorTimeSchedule::body_dict() const
{
    QJsonObject body = RVBaseInfo::body_dict();
    writeKeys(body, keys());
    return body;
}
