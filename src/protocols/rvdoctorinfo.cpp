// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvdoctorinfo.h"

using namespace Qt::StringLiterals;

const QStringList &RVDoctorInfo::keys()
{
    static const QStringList k{u"yymc"_s, u"ysmc"_s,   u"ysxb"_s,   u"yszc"_s,
                               u"ysxl"_s, u"ysjl"_s,   u"yszp"_s,   u"ysjs"_s,
                               u"scjb"_s, u"bzksdm"_s, u"bzksmc"_s, u"kysl"_s};
    return k;
}

void RVDoctorInfo::bodyWithDictionary(const QJsonObject &body)
{
    RVDoctorInfoRequest::bodyWithDictionary(body);
    readKeys(body, keys());
}

QJsonObject RVDoctorInfo::body_dict() const
{
    QJsonObject body = RVDoctorInfoRequest::body_dict();
    writeKeys(body, keys());
    return body;
}
