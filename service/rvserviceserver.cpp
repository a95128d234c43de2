// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvserviceserver.h"

#include "service/rvphotopainter.h"
#include "service/rvservicelog.h"

#include <QElapsedTimer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QJsonArray>
#include <QJsonObject>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

namespace
{
using Status = QHttpServerResponder::StatusCode;

QHttpServerResponse plain(const QByteArray &text, Status status)
{
    return QHttpServerResponse("text/plain; charset=utf-8", text, status);
}

// The store identifier of a lookup: from the query, or from a form body.
QString lookupId(const QHttpServerRequest &request)
{
    QString id = request.query().queryItemValue(u"id"_s, QUrl::FullyDecoded);
    if (id.isEmpty() && request.method() == QHttpServerRequest::Method::Post)
        id = QUrlQuery(QString::fromUtf8(request.body()))
                 .queryItemValue(u"id"_s, QUrl::FullyDecoded);
    return id.trimmed();
}
} // namespace

RVServiceServer::RVServiceServer(RVServiceDatabase &database, const QString &latestVersion,
                                 QObject *parent)
    : QObject(parent), m_router(database), m_latestVersion(latestVersion)
{
    addRoutes();
}

RVServiceServer::~RVServiceServer() = default;

void RVServiceServer::addRoutes()
{
    m_http.route(u"/hrzp2/ComService"_s,
                 [this](const QHttpServerRequest &request) { return exchange(request); });
    m_http.route(u"/photos/<arg>"_s,
                 [this](const QString &file, const QHttpServerRequest &) { return photo(file); });
    m_http.route(u"/lookup"_s,
                 [this](const QHttpServerRequest &request) { return lookup(request); });
    m_http.route(u"/update"_s,
                 [this](const QHttpServerRequest &request) { return updatePage(request); });
    m_http.setMissingHandler([](const QHttpServerRequest &request, QHttpServerResponder &&out) {
        qCInfo(lcService).noquote() << u"404"_s << request.url().path();
        out.write("not found\n", "text/plain; charset=utf-8", Status::NotFound);
    });
}

quint16 RVServiceServer::listen(const QHostAddress &address, quint16 port)
{
    m_port = m_http.listen(address, port);
    m_address = address;
    return m_port;
}

QString RVServiceServer::baseUrl() const
{
    QHostAddress shown = m_address;
    if (shown == QHostAddress::Any || shown == QHostAddress::AnyIPv4)
        shown = QHostAddress::LocalHost;
    else if (shown == QHostAddress::AnyIPv6)
        shown = QHostAddress::LocalHostIPv6;
    const QString host = shown.protocol() == QAbstractSocket::IPv6Protocol
                             ? u"["_s + shown.toString() + u"]"_s
                             : shown.toString();
    return u"http://%1:%2"_s.arg(host).arg(m_port);
}

QString RVServiceServer::baseFor(const QHttpServerRequest &request) const
{
    const QByteArray host = request.value("Host");
    bool plainHost = !host.isEmpty() && host.size() <= 255;
    for (const char c : host)
        plainHost = plainHost && (std::isalnum(static_cast<unsigned char>(c)) || c == '.' ||
                                  c == '-' || c == ':' || c == '[' || c == ']');
    return plainHost ? u"http://"_s + QString::fromLatin1(host) : baseUrl();
}

QHttpServerResponse RVServiceServer::exchange(const QHttpServerRequest &request)
{
    QElapsedTimer clock;
    clock.start();
    if (request.method() != QHttpServerRequest::Method::Post) {
        qCInfo(lcService).noquote() << u"405 the booking endpoint takes POST only"_s;
        return plain("POST only\n", Status::MethodNotAllowed);
    }
    const RVServiceRouter::Exchange result = m_router.handle(request.body(), baseFor(request));
    qCInfo(lcService).noquote() << u"%1 user=%2 %3 %4 (%5, %6 ms)"_s.arg(
        result.code.isEmpty() ? u"-"_s : result.code.left(16),
        result.user.isEmpty() ? u"-"_s : result.user.left(64), result.ok ? u"ok"_s : u"refused"_s,
        result.message, QString::number(result.status), QString::number(clock.elapsed()));
    return QHttpServerResponse(result.contentType, result.body, static_cast<Status>(result.status));
}

QHttpServerResponse RVServiceServer::photo(const QString &file)
{
    QString ysdm = file;
    if (!ysdm.endsWith(u".png"_s))
        return plain("not found\n", Status::NotFound);
    ysdm.chop(4);
    auto cached = m_photos.constFind(ysdm);
    if (cached == m_photos.constEnd()) {
        const std::optional<QString> sex = m_router.catalogue().doctorSex(ysdm);
        if (!sex) {
            qCInfo(lcService).noquote() << u"photo %1 not found"_s.arg(ysdm.left(32));
            return plain("not found\n", Status::NotFound);
        }
        cached = m_photos.insert(ysdm, RVPhotoPainter::portraitPng(ysdm, *sex == u"女"_s));
    }
    QHttpServerResponse response("image/png", *cached);
    response.addHeader("Cache-Control", "max-age=86400");
    return response;
}

QHttpServerResponse RVServiceServer::lookup(const QHttpServerRequest &request) const
{
    const QString id = lookupId(request);
    QJsonObject reply{{u"resultCount"_s, 0}, {u"results"_s, QJsonArray()}};
    if (!id.isEmpty()) {
        QUrl page(baseFor(request) + u"/update"_s);
        page.setQuery(QUrlQuery{{u"id"_s, id}});
        reply = QJsonObject{
            {u"resultCount"_s, 1},
            {u"results"_s,
             QJsonArray{QJsonObject{{u"version"_s, m_latestVersion},
                                    {u"trackViewUrl"_s, page.toString(QUrl::FullyEncoded)}}}}};
    }
    qCInfo(lcService).noquote() << u"lookup id=%1 version=%2"_s.arg(id.left(64), m_latestVersion);
    return QHttpServerResponse(reply);
}

QHttpServerResponse RVServiceServer::updatePage(const QHttpServerRequest &request) const
{
    const QString id = lookupId(request).toHtmlEscaped();
    const QString html = u"<!DOCTYPE html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
                         "<title>预约挂号 更新</title></head><body>"
                         "<h1>预约挂号</h1><p>最新版本：%1</p><p>应用标识：%2</p>"
                         "<p>请使用最新版本的安装包更新应用。</p></body></html>\n"_s.arg(
                             m_latestVersion.toHtmlEscaped(), id);
    qCInfo(lcService).noquote() << u"update page id=%1"_s.arg(id.left(64));
    return QHttpServerResponse("text/html; charset=utf-8", html.toUtf8());
}
