// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvreservationlistinforequest.h"

using namespace Qt::StringLiterals;

void RVReservationListInfoRequest::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    readKeys(body, {u"yhid"_s, u"sjhm"_s});
}

QJsonObject RVReservationListInfoRequest::body_dict() const
{
    QJsonObject body = RVBaseInfo::body_dict();
    writeKeys(body, {u"yhid"_s});
    body.insert(u"sjhm"_s, hasField(u"sjhm"_s) ? sjhm() : QJsonValue(QString()));
    return body;
}
