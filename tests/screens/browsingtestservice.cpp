// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "browsingtestservice.h"

#include "protocols/rvprotocol.h"

#include <QJsonDocument>
#include <QTcpServer>

using namespace Qt::StringLiterals;

namespace
{
// A loopback port that nobody listens on: the system's free port, closed again at once.
quint16 deadPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}
} // namespace

BrowsingTestService::BrowsingTestService()
    : m_service(std::make_unique<FakeService>(
          [this](const FakeService::Request &r) { return handle(r); }))
{
    m_port = m_service->start();
    RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, m_port);
}

BrowsingTestService::~BrowsingTestService() = default;

void BrowsingTestService::setAnswer(const QString &code, Answer answer)
{
    m_answers.insert(code, std::move(answer));
}

void BrowsingTestService::setList(const QString &code, const QJsonArray &items)
{
    setAnswer(code, [items](const Call &) { return listReply(items); });
}

QList<BrowsingTestService::Call> BrowsingTestService::calls(const QString &code) const
{
    QList<Call> matching;
    for (const Call &call : m_calls) {
        if (call.code == code)
            matching.append(call);
    }
    return matching;
}

void BrowsingTestService::refuseConnections(bool refuse)
{
    RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, refuse ? deadPort() : m_port);
}

QJsonObject BrowsingTestService::success(const QJsonObject &body)
{
    return {{u"head"_s, QJsonObject{{u"succflag"_s, u"0"_s}}}, {u"body"_s, body}};
}

QJsonObject BrowsingTestService::failure(const QString &message)
{
    return {{u"head"_s, QJsonObject{{u"succflag"_s, u"-1"_s}, {u"retmsg"_s, message}}},
            {u"body"_s, QJsonObject()}};
}

QJsonObject BrowsingTestService::listReply(const QJsonArray &items)
{
    return success({{u"list"_s, items}});
}

QJsonArray BrowsingTestService::doctors(int first, int count, const QString &photoBase)
{
    QJsonArray list;
    for (int n = first; n < first + count; ++n) {
        QJsonObject doctor{{u"ysdm"_s, u"D%1"_s.arg(n)},    {u"ysmc"_s, u"医生%1"_s.arg(n)},
                           {u"yszc"_s, u"主任医师"_s},      {u"yymc"_s, u"滨江第%1医院"_s.arg(n)},
                           {u"scjb"_s, u"擅长%1"_s.arg(n)}, {u"hospid"_s, u"H1"_s}};
        if (!photoBase.isEmpty())
            doctor.insert(u"yszp"_s, u"%1/photos/D%2.png"_s.arg(photoBase).arg(n));
        list.append(doctor);
    }
    return list;
}

FakeService::Response BrowsingTestService::handle(const FakeService::Request &request)
{
    const QString form = QString::fromUtf8(request.body);
    const qsizetype at = form.indexOf(u"&bwnr="_s);
    const QStringList fields = form.left(at).split(u'&');
    Call call;
    call.code = fields.value(1).mid(4);
    const QJsonObject envelope = QJsonDocument::fromJson(form.mid(at + 6).toUtf8()).object();
    call.body = envelope.value(u"body"_s).toObject();
    m_calls.append(call);
    const auto answer = m_answers.constFind(call.code);
    const QJsonObject reply = answer != m_answers.constEnd() ? (*answer)(call) : success();
    return {200, QJsonDocument(reply).toJson()};
}
