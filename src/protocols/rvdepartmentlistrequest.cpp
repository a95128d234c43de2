// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvdepartmentlistrequest.h"

using namespace Qt::StringLiterals;

const QStringList &RVDepartmentListRequest::keys()
{
    static const QStringList k{u"bzksdm"_s, u"hospid"_s, u"deptid"_s};
    return k;
}

void RVDepartmentListRequest::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    readKeys(body, keys());
}

QJsonObject RVDepartmentListRequest::body_dict() const
{
    QJsonObject body = RVBaseInfo::body_dict();
    writeKeys(body, keys());
    return body;
}
