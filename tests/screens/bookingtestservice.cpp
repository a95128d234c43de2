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
    config.saveNSUserDefaults();
    RVLoginValues::set(RVBaseInfo::text(user.yhm()), RVCipher::fixedKeyText());
    RVAppConfigInfo::setUserLoginStats(true);
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
