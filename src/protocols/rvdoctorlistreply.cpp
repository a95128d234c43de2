// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvdoctorlistreply.h"

using namespace Qt::StringLiterals;

void RVDoctorListReply::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    m_doctors = rvReadList<RVDoctorInfo>(body, u"list"_s);
}

QJsonObject RVDoctorListReply::body_dict() const
{
    QJsonObject body = RVBaseInfo::body_dict();
    body.insert(u"list"_s, rvWriteList(m_doctors));
    return body;
}
