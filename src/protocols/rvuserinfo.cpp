// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvuserinfo.h"
#include "protocols/protocolslog.h"

using namespace Qt::StringLiterals;

const QStringList &RVUserInfo::keys()
{
    // xb is an integer field and handled on its own.
    static const QStringList k{u"yhid"_s, u"yhm"_s,  u"xm"_s, u"sfzhm"_s, u"csny"_s, u"ylkh"_s,
                               u"gddh"_s, u"sjhm"_s, u"dz"_s, u"yb"_s,    u"dzyx"_s, u"gzmy"_s};
    return k;
}

void RVUserInfo::setSfzhm(const QJsonValue &value)
{
    setField(u"sfzhm"_s, value);
    const QString number = value.toString();
    // A shorter text cannot hold the sequence digit and the birth date: keep it, derive nothing.
    if (number.size() < 17)
        return;
    const int sequence = int(intValue(QJsonValue(number.mid(16, 1))));
    m_xb = (sequence % 2 != 0) ? 1 : 2;
    const QString birth = number.mid(6, 4) + u'-' + number.mid(10, 2) + u'-' + number.mid(12, 2);
    setCsny(birth);
    // The date itself is personal and stays out of the log.
    qCDebug(lcUserInfo).noquote() << u"出生年月:****-**-**"_s; // untranslated: a log line
}

void RVUserInfo::bodyWithDictionary(const QJsonObject &body)
{
    RVBaseInfo::bodyWithDictionary(body);
    readKeys(body, keys());
    m_xb = int(intValue(body.value(u"xb"_s)));
}

QJsonObject RVUserInfo::body_dict() const
{
    QJsonObject body = RVBaseInfo::body_dict();
    writeKeys(body, keys());
    if (m_xb != 0)
        body.insert(u"xb"_s, m_xb);
    return body;
}
