// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvhospitallistrequest.h"

using namespace Qt::StringLiterals;

const QStringList &RVHospitalListRequest::keys()
{
    static const QStringList k{u"yymc"_s, u"yydj"_s, u"jd"_s, u"wd"_s};
    return k;
}

void RVHospitalListRequest::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    readKeys(body, keys());
}

QJsonObject RVHospitalListRequest::body_dict() const
{
    QJsonObject body = RVBaseInfo::body_dict();
    writeKeys(body, keys());
    return body;
}
