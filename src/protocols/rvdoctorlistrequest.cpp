// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvdoctorlistrequest.h"

using namespace Qt::StringLiterals;

const QStringList &RVDoctorListRequest::keys()
{
    static const QStringList k{u"hospid"_s, u"deptid"_s, u"ksbm"_s,   u"xssl"_s,
                               u"dqym"_s,   u"yydm"_s,   u"ghksdm"_s, u"bzksdm"_s,
                               u"bzjbmc"_s, u"pym"_s,    u"page"_s};
    return k;
}

void RVDoctorListRequest::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    readKeys(body, keys());
}

QJsonObject RVDoctorListRequest::body_dict() const
{
    QJsonObject body = RVBaseInfo::body_dict();
    writeKeys(body, keys());
    return body;
}
