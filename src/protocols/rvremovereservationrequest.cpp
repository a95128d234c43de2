// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvremovereservationrequest.h"

using namespace Qt::StringLiterals;

const QStringList &RVRemoveReservationRequest::keys()
{
    static const QStringList k{u"yhid"_s, u"yylsh"_s};
    return k;
}

void RVRemoveReservationRequest::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    readKeys(body, keys());
}

QJsonObject RVRemoveReservationRequest::body_dict() const
{
    QJsonObject body = RVBaseInfo::body_dict();
    writeKeys(body, keys());
    return body;
}
