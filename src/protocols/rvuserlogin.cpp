// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvuserlogin.h"

#include "platform/deviceinfo.h"

using namespace Qt::StringLiterals;
using platform::DeviceInfo;

void RVUserLogin::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    readKeys(body, {u"yhm"_s, u"mm"_s});
}

QJsonObject RVUserLogin::body_dict() const
{
    QJsonObject body = RVBaseInfo::body_dict();
    writeKeys(body, {u"yhm"_s, u"mm"_s});
    m_xtmc = u"%1 %2 %3"_s.arg(DeviceInfo::model(), DeviceInfo::localizedModel(),
                               DeviceInfo::systemName());
    m_bbh = DeviceInfo::systemVersion();
    body.insert(u"self.xtmc"_s, m_xtmc);
    body.insert(u"self.bbh"_s, m_bbh);
    return body;
}
