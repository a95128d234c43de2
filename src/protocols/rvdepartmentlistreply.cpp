// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvdepartmentlistreply.h"

using namespace Qt::StringLiterals;

void RVDepartmentListReply::bodyWithDictionary(const QJsonObject &body)
{
    RVDepartmentListRequest::bodyWithDictionary(body);
    m_deptartments = rvReadList<RVDepartmentInfo>(body, u"list"_s);
}

QJsonObject RVDepartmentListReply::body_dict() const
{
    QJsonObject body = RVDepartmentListRequest::body_dict();
    body.insert(u"list"_s, rvWriteList(m_deptartments));
    return body;
}
