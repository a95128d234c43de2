// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvhttpexchange.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <atomic>

using namespace Qt::StringLiterals;

namespace
{

std::atomic<int> timeoutSetting{30000};

const QString timeoutMessage = u"网络请求超时。"_s;
const QString oversizeMessage = u"网络出错。"_s;

QNetworkRequest formRequest(const QUrl &url)
{
    QNetworkRequest request(url);
    // The phone platform adds this content type to every posted body; nothing else is ours.
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    request.setTransferTimeout(RVHttpExchange::timeoutMs());
    return request;
}

QString headerText(const QNetworkReply *reply)
{
    QStringList fields;
    for (const auto &pair : reply->rawHeaderPairs())
        fields << QString::fromLatin1(pair.first + ": " + pair.second);
    return u"{"_s + fields.join(u"; "_s) + u"}"_s;
}

bool hasHttpStatus(const QNetworkReply *reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
}

// Qt reports HTTP error statuses as errors too; only an exchange without any HTTP answer is a
// transport failure here, so that a 500 reads as a status, not as a broken network.
QString transportFailure(const QNetworkReply *reply, bool oversize)
{
    if (oversize)
        return oversizeMessage;
    if (reply->error() == QNetworkReply::OperationCanceledError ||
        reply->error() == QNetworkReply::TimeoutError)
        return timeoutMessage;
    return reply->errorString();
}

} // namespace

RVHttpExchange::RVHttpExchange(QObject *parent) : QObject(parent) {}

RVHttpExchange::~RVHttpExchange()
{
    cancel();
}

int RVHttpExchange::timeoutMs()
{
    return timeoutSetting.load();
}

void RVHttpExchange::setTimeoutMsForTests(int ms)
{
    timeoutSetting.store(ms > 0 ? ms : 30000);
}

RVHttpExchange::Result RVHttpExchange::postBlocking(const QUrl &url, const QByteArray &body)
{
    QNetworkAccessManager manager;
    QEventLoop loop;
    QNetworkReply *reply = manager.post(formRequest(url), body);
    bool oversize = false;
    QObject::connect(reply, &QNetworkReply::downloadProgress, &loop,
                     [&](qint64 received, qint64 total) {
                         if (received > maxReplyBytes || total > maxReplyBytes) {
                             oversize = true;
                             reply->abort();
                         }
                     });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    Result result;
    result.headers = headerText(reply);
    if (oversize || !hasHttpStatus(reply)) {
        result.transportError = true;
        result.errorDescription = transportFailure(reply, oversize);
    } else {
        result.statusCode = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result.body = reply->readAll();
    }
    delete reply;
    return result;
}

bool RVHttpExchange::start(const QUrl &url, const QByteArray &body)
{
    if (isRunning())
        return false;
    if (m_manager == nullptr)
        m_manager = new QNetworkAccessManager(this);
    m_received = 0;
    m_responseSeen = false;
    m_reply = m_manager->post(formRequest(url), body);
    connect(m_reply, &QNetworkReply::readyRead, this, &RVHttpExchange::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &RVHttpExchange::onFinished);
    return true;
}

void RVHttpExchange::cancel()
{
    if (m_reply.isNull())
        return;
    QNetworkReply *reply = m_reply;
    m_reply.clear();
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

void RVHttpExchange::onReadyRead()
{
    if (m_reply.isNull())
        return;
    if (!m_responseSeen && hasHttpStatus(m_reply)) {
        m_responseSeen = true;
        Q_EMIT responseReceived(
            m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
            headerText(m_reply));
    }
    const QByteArray bytes = m_reply->readAll();
    m_received += bytes.size();
    if (m_received > maxReplyBytes) {
        finishWithFailure(oversizeMessage);
        return;
    }
    if (!bytes.isEmpty())
        Q_EMIT dataReceived(bytes);
}

void RVHttpExchange::onFinished()
{
    if (m_reply.isNull())
        return;
    if (!hasHttpStatus(m_reply)) {
        finishWithFailure(transportFailure(m_reply, false));
        return;
    }
    onReadyRead();
    if (m_reply.isNull())
        return; // the last bytes went past the size limit
    QNetworkReply *reply = m_reply;
    m_reply.clear();
    reply->disconnect(this);
    reply->deleteLater();
    Q_EMIT finished();
}

void RVHttpExchange::finishWithFailure(const QString &description)
{
    cancel();
    Q_EMIT failed(description);
}
