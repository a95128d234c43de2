// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvhospitallistreply.h"

using namespace Qt::StringLiterals;

void RVHospitalListReply::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    m_hospitalList = rvReadList<RVHospitalInfo>(body, u"list"_s);
}

QJsonObject RVHospitalListReply::body_dict() const
{
    QJsonObject body = RVBaseInfo::body_dict();
    body.insert(u"list"_s, rvWriteList(m_hospitalList));
    return body;
}
