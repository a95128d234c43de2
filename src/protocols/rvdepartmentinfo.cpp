// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvdepartmentinfo.h"

using namespace Qt::StringLiterals;

const QStringList &RVDepartmentInfo::keys()
{
    static const QStringList k{u"deptid"_s, u"ksfl"_s,   u"bzksdm"_s, u"bzksmc"_s,
                               u"ksms"_s,   u"hospid"_s, u"yymc"_s,   u"yyjc"_s};
    return k;
}

void RVDepartmentInfo::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    readKeys(body, keys());
}

QJsonObject RVDepartmentInfo::body_dict() const
{
    QJsonObject body = RVBaseInfo::body_dict();
    writeKeys(body, keys());
    return body;
}
