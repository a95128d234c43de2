// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvuserregister.h"

using namespace Qt::StringLiterals;

void RVUserRegister::bodyWithDictionary(const QJsonObject &body)
{
    RVUserInfo::bodyWithDictionary(body);
    setMm(body.value(u"mm"_s));
}

QJsonObject RVUserRegister::body_dict() const
{
    QJsonObject body = RVUserInfo::body_dict();
    body.remove(u"yhid"_s);
    body.remove(u"gzmy"_s);
    if (hasField(u"mm"_s))
        body.insert(u"mm"_s, mm());
    return body;
}
