// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screentestservice.h"

#include "protocols/rvcipher.h"
#include "protocols/rvprotocol.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace
{
QByteArray enciphered(const QJsonObject &head, const QJsonObject &body = {})
{
    const QByteArray json =
        QJsonDocument(QJsonObject{{u"head"_s, head}, {u"body"_s, body}}).toJson();
    return RVCipher::encipherToHex(QString::fromUtf8(json), RVCipher::fixedKeyText())->toLatin1();
}
} // namespace

ScreenTestService::ScreenTestService()
    : m_service(std::make_unique<FakeService>(
          [this](const FakeService::Request &r) { return handle(r); }))
{
    RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, m_service->start());
}

FakeService::Response ScreenTestService::handle(const FakeService::Request &request)
{
    if (request.path.startsWith("/lookup")) {
        ++m_lookups;
        m_lookupHeaders = request.headers;
        const QJsonArray results{QJsonObject{{u"version"_s, m_version}}};
        return {200, QJsonDocument(QJsonObject{{u"results"_s, results}}).toJson()};
    }
    const QString form = QString::fromUtf8(request.body);
    const qsizetype at = form.indexOf(u"&bwnr="_s);
    const QStringList fields = form.left(at).split(u'&');
    if (fields.value(1) != u"jym=A002")
        return {200, enciphered({{u"succflag"_s, u"0"_s}})};
    ++m_logins;
    m_lastName = fields.value(0).mid(4);
    const auto text = RVCipher::decipherFromHex(form.mid(at + 6), RVCipher::fixedKeyText());
    const QJsonObject body = QJsonDocument::fromJson(text.value_or(QString()).toUtf8())
                                 .object()
                                 .value(u"body"_s)
                                 .toObject();
    if (m_lastName != u"li" || body.value(u"mm"_s).toString() != u"right")
        return {200, enciphered({{u"succflag"_s, u"-1"_s}, {u"retmsg"_s, u"密码错误"_s}}),
                m_loginDelayMs};
    const QJsonObject user{{u"yhm"_s, u"li"_s},
                           {u"xm"_s, u"李四"_s},
                           {u"yhid"_s, u"7"_s},
                           {u"gzmy"_s, RVCipher::fixedKeyText()}};
    return {200, enciphered({{u"succflag"_s, u"0"_s}, {u"retmsg"_s, u"登录成功"_s}}, user),
            m_loginDelayMs};
}
