// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvreservationlistinforeply.h"

using namespace Qt::StringLiterals;

void RVReservationListInfoReply::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    m_reservations = rvReadList<RVReservationInfo>(body, u"list"_s);
}

QJsonObject RVReservationListInfoReply::body_dict() const
{
    QJsonObject body = RVBaseInfo::body_dict();
    body.insert(u"list"_s, rvWriteList(m_reservations));
    return body;
}
