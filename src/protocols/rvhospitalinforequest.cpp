// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvhospitalinforequest.h"

using namespace Qt::StringLiterals;

const QStringList &RVHospitalInfoRequest::keys()
{
    static const QStringList k{u"hospid"_s};
    return k;
}

void RVHospitalInfoRequest::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    readKeys(body, keys());
}

QJsonObject RVHospitalInfoRequest::body_dict() const
{
    QJsonObject body = RVBaseInfo::body_dict();
    writeKeys(body, keys());
    return body;
}
