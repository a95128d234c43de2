// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "bookingtestservice.h"

#include "protocols/rvappconfiginfo.h"
#include "protocols/rvcipher.h"
#include "protocols/rvloginvalues.h"
#include "protocols/rvprotocol.h"
#include "protocols/rvuserinfo.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

BookingTestService::BookingTestService()
    : m_service(std::make_unique<FakeService>(
          [this](const FakeService::Request &r) { return handle(r); }))
{
    RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, m_service->start());
}

QJsonObject BookingTestService::reply(bool success, const QString &message, const QJsonArray *list)
{
    QJsonObject envelope{{u"head"_s, QJsonObject{{u"succflag"_s, success ? u"0"_s : u"-1"_s},
                                                 {u"retmsg"_s, message}}}};
    if (list != nullptr)
        envelope.insert(u"body"_s, QJsonObject{{u"list"_s, *list}});
    return envelope;
}

QList<BookingTestService::Received> BookingTestService::received(const QString &code) const
{
    QList<Received> matching;
    for (const Received &r : m_received) {
        if (r.code == code)
            matching.append(r);
    }
    return matching;
}

void BookingTestService::logIn(const RVUserInfo &user)
{
    RVAppConfigInfo config;
    config.setUserInfo(user);
    config.setLastLoginSuccess(true);
    if (!config.saveNSUserDefaults())
        qFatal("the test login could not be saved");
    RVLoginValues::set(RVBaseInfo::text(user.yhm()), RVCipher::fixedKeyText());
    RVAppConfigInfo::setUserLoginStats(true);
}

RVUserInfo BookingTestService::patient(int xb, bool withAddress)
{
    RVUserInfo user;
    user.setYhm(u"li"_s);
    user.setYhid(u"7"_s);
    user.setXm(u"李四"_s);
    user.setSjhm(u"13800000000"_s);
    user.setSfzhm(u"110101199003070011"_s);
    user.setCsny(u"1990-03-07"_s);
    user.setXb(xb);
    if (withAddress)
        user.setDz(u"北京市东城区"_s);
    return user;
}

BookingTestService::Choice BookingTestService::choice()
{
    Choice c;
    c.doctor.setYsdm(u"D7"_s);
    c.doctor.setYsmc(u"王医生"_s);
    c.doctor.setYymc(u"第一医院"_s);
    c.doctor.setYszc(u"主任医师"_s);
    c.doctor.setBzksdm(u"K03"_s);
    c.doctor.setBzksmc(u"心血管内科"_s);
    c.half.setHospid(u"H1"_s);
    c.half.setPbid(u"P42"_s);
    c.half.setJzrq(u"2013-05-20"_s);
    c.half.setBcbm(u"1"_s);
    c.half.setBzksmc(u"内科"_s); // not part of a booking
    c.slot.setFzxh(u"3"_s);
    c.slot.setYysj(u"08:30"_s);
    return c;
}

FakeService::Response BookingTestService::handle(const FakeService::Request &request)
{
    const QString form = QString::fromUtf8(request.body);
    const qsizetype at = form.indexOf(u"&bwnr="_s);
    const QString code = form.left(at).section(u'&', 1, 1).mid(4);
    QString message = form.mid(at + 6);
    if (!code.startsWith(u'B'))
        message = RVCipher::decipherFromHex(message, RVCipher::fixedKeyText()).value_or(QString());
    const QJsonObject body =
        QJsonDocument::fromJson(message.toUtf8()).object().value(u"body"_s).toObject();
    m_received.append({code, body});
    const auto found = m_answers.constFind(code);
    const QJsonObject answer =
        found != m_answers.constEnd() ? (*found)(body) : reply(false, u"未知交易"_s);
    return {200, QJsonDocument(answer).toJson(QJsonDocument::Compact), m_delays.value(code),
            m_losses.value(code, FakeService::Ending::KeepOpen)};
}
