// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvserviceserver.h"

#include "protocols/rvlogmasking.h"
#include "service/rvphotopainter.h"
#include "service/rvservicelog.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

namespace
{
RVServiceHttpResponse plain(int status, const QByteArray &text)
{
    return RVServiceHttpResponse::text(status, text);
}

// The store identifier of a lookup: from the query, or from a form body.
QString lookupId(const RVServiceHttpRequest &request)
{
    QString id = request.query().queryItemValue(u"id"_s, QUrl::FullyDecoded);
    if (id.isEmpty() && request.method == "POST")
        id = QUrlQuery(QString::fromUtf8(request.body)).queryItemValue(u"id"_s, QUrl::FullyDecoded);
    return id.trimmed();
}
} // namespace

RVServiceServer::RVServiceServer(RVServiceDatabase &database, const QString &latestVersion,
                                 const RVServiceHttpLimits &limits, int workers,
                                 qsizetype replyCacheBytes, QObject *parent)
    : QObject(parent),
      m_http(limits, [this](const RVServiceHttpRequest &request) { return handle(request); }),
      m_router(database, replyCacheBytes), m_latestVersion(latestVersion), m_workers(workers)
{
    m_http.setExecutor([this](std::function<void()> work) { m_workers.run(std::move(work)); });
}

RVServiceServer::~RVServiceServer() = default;

RVServiceHttpResponse RVServiceServer::handle(const RVServiceHttpRequest &request)
{
    const QString path = request.path();
    if (path == u"/hrzp2/ComService"_s)
        return exchange(request);
    if (path.startsWith(u"/photos/"_s) && path.indexOf(u'/', 8) < 0 && path.size() > 8)
        return photo(path.mid(8));
    if (path == u"/lookup"_s)
        return lookup(request);
    if (path == u"/update"_s)
        return updatePage(request);
    qCInfo(lcService).noquote() << u"404"_s << path.left(128);
    return plain(404, "not found\n");
}

quint16 RVServiceServer::listen(const QHostAddress &address, quint16 port)
{
    m_port = m_http.listen(address, port) ? m_http.serverPort() : 0;
    m_address = address;
    return m_port;
}

QString RVServiceServer::scheme() const
{
    return m_http.isTls() ? u"https"_s : u"http"_s;
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
    return u"%1://%2:%3"_s.arg(scheme(), host).arg(m_port);
}

QString RVServiceServer::baseFor(const RVServiceHttpRequest &request) const
{
    const QByteArray host = request.header("host");
    bool plainHost = !host.isEmpty() && host.size() <= 255;
    for (const char c : host)
        plainHost = plainHost && (std::isalnum(static_cast<unsigned char>(c)) || c == '.' ||
                                  c == '-' || c == ':' || c == '[' || c == ']');
    return plainHost ? scheme() + u"://"_s + QString::fromLatin1(host) : baseUrl();
}

RVServiceHttpResponse RVServiceServer::exchange(const RVServiceHttpRequest &request)
{
    QElapsedTimer clock;
    clock.start();
    if (request.method != "POST") {
        qCInfo(lcService).noquote() << u"405 the booking endpoint takes POST only"_s;
        RVServiceHttpResponse refusal = plain(405, "POST only\n");
        refusal.headers.append(qMakePair(QByteArray("Allow"), QByteArray("POST")));
        return refusal;
    }
    const RVServiceRouter::Exchange result = m_router.handle(request.body, baseFor(request));
    qCInfo(lcService).noquote() << u"%1 user=%2 %3 %4 (%5, %6 ms)"_s.arg(
        result.code.isEmpty() ? u"-"_s : result.code.left(16),
        result.user.isEmpty() ? u"-"_s : RVLogMasking::loginName(result.user),
        result.ok ? u"ok"_s : u"refused"_s, result.message, QString::number(result.status),
        QString::number(clock.elapsed()));
    RVServiceHttpResponse response;
    response.status = result.status;
    response.contentType = result.contentType;
    response.body = result.body;
    return response;
}

RVServiceHttpResponse RVServiceServer::photo(const QString &file)
{
    QString ysdm = file;
    if (!ysdm.endsWith(u".png"_s))
        return plain(404, "not found\n");
    ysdm.chop(4);
    QByteArray png;
    {
        QMutexLocker lock(&m_photosLock);
        png = m_photos.value(ysdm);
    }
    if (png.isEmpty()) {
        const std::optional<QString> sex = m_router.catalogue().doctorSex(ysdm);
        if (!sex) {
            qCInfo(lcService).noquote() << u"photo %1 not found"_s.arg(ysdm.left(32));
            return plain(404, "not found\n");
        }
        // Drawn outside the lock; two workers drawing the same face at once draw it alike.
        png = RVPhotoPainter::portraitPng(ysdm, *sex == u"女"_s);
        QMutexLocker lock(&m_photosLock);
        m_photos.insert(ysdm, png);
    }
    RVServiceHttpResponse response;
    response.contentType = "image/png";
    response.body = png;
    response.headers.append(qMakePair(QByteArray("Cache-Control"), QByteArray("max-age=86400")));
    return response;
}

RVServiceHttpResponse RVServiceServer::lookup(const RVServiceHttpRequest &request) const
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
    RVServiceHttpResponse response;
    response.contentType = "application/json";
    response.body = QJsonDocument(reply).toJson(QJsonDocument::Compact);
    return response;
}

RVServiceHttpResponse RVServiceServer::updatePage(const RVServiceHttpRequest &request) const
{
    const QString id = lookupId(request).toHtmlEscaped();
    const QString html = u"<!DOCTYPE html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
                         "<title>预约挂号 更新</title></head><body>"
                         "<h1>预约挂号</h1><p>最新版本：%1</p><p>应用标识：%2</p>"
                         "<p>请使用最新版本的安装包更新应用。</p></body></html>\n"_s.arg(
                             m_latestVersion.toHtmlEscaped(), id);
    qCInfo(lcService).noquote() << u"update page id=%1"_s.arg(id.left(64));
    RVServiceHttpResponse response;
    response.contentType = "text/html; charset=utf-8";
    response.body = html.toUtf8();
    return response;
}
