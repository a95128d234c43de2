// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvdoctorinforequest.h"

using namespace Qt::StringLiterals;

const QStringList &RVDoctorInfoRequest::keys()
{
    static const QStringList k{u"yydm"_s, u"pbid"_s, u"hospid"_s, u"ysdm"_s};
    return k;
}

void RVDoctorInfoRequest::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    readKeys(body, keys());
}

QJsonObject RVDoctorInfoRequest::body_dict() const
{
    QJsonObject body = RVBaseInfo::body_dict();
    writeKeys(body, keys());
    return body;
}
