// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvhospitalinfo.h"

using namespace Qt::StringLiterals;

const QStringList &RVHospitalInfo::keys()
{
    static const QStringList k{u"yymc"_s, u"yyjc"_s, u"yydj"_s, u"yyjs"_s, u"yydz"_s,
                               u"wd"_s,   u"jd"_s,   u"yydh"_s, u"bz"_s};
    return k;
}

void RVHospitalInfo::bodyWithDictionary(const QJsonObject &body)
{
    RVHospitalInfoRequest::bodyWithDictionary(body);
    readKeys(body, keys());
}

QJsonObject RVHospitalInfo::body_dict() const
{
    QJsonObject body = RVHospitalInfoRequest::body_dict();
    writeKeys(body, keys());
    return body;
}
