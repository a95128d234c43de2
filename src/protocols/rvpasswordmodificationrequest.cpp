// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvpasswordmodificationrequest.h"

using namespace Qt::StringLiterals;

const QStringList &RVPasswordModificationRequest::keys()
{
    static const QStringList k{u"yhid"_s, u"yymm"_s, u"mm"_s};
    return k;
}

void RVPasswordModificationRequest::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    readKeys(body, keys());
}

QJsonObject RVPasswordModificationRequest::body_dict() const
{
    QJsonObject body = RVBaseInfo::body_dict();
    writeKeys(body, keys());
    return body;
}
