// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/rvimagedownload.h"
#include "components/componentslog.h"

#include "protocols/rvnetworkforwarder.h"
#include "toolkit/application.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace
{

// Downloads under way; the status-bar indicator shows while any runs.
int s_activeDownloads = 0;

} // namespace

RVImageDownload::RVImageDownload(const QString &url, const QString &fileName, RestartPolicy policy,
                                 Wanted wanted, Ended ended)
    : m_url(url), m_fileName(fileName), m_policy(policy), m_wanted(std::move(wanted)),
      m_ended(std::move(ended))
{
    m_restartTimer.setSingleShot(true);
    connect(&m_restartTimer, &QTimer::timeout, this, &RVImageDownload::start);
}

RVImageDownload::~RVImageDownload()
{
    m_restartTimer.stop();
    dropConnection();
}

void RVImageDownload::networkActivityChanged(int delta)
{
    s_activeDownloads = std::max(0, s_activeDownloads + delta);
    ui::Application::setNetworkActivityIndicatorVisible(s_activeDownloads > 0);
}

void RVImageDownload::start()
{
    if (m_connection)
        return;
    m_loadData = QByteArray();
    m_status = 0;

    RVNetworkLayer::Request request;
    request.method = RVNetworkLayer::Method::Get;
    request.url = QUrl(m_url);
    request.idleTimeoutMs = kTimeoutMs;
    request.maxBodyBytes = kMaxDownloadBytes;
    request.followRedirects = true;
    // A picture is asked for again as often as needed: nothing changes at the other end.
    request.resend = RVNetworkLayer::Resend::OnceOnStaleConnection;
    RVNetworkForwarder::Handlers handlers;
    handlers.response = [this](int status, const QString &) { didReceiveResponse(status); };
    handlers.data = [this](const QByteArray &bytes) { didReceiveData(bytes); };
    handlers.end = [this](const RVNetworkLayer::Failure &failure) { didEnd(failure); };
    m_connection = std::make_shared<RVNetworkForwarder>(this, std::move(handlers));
    m_layer = RVNetworkLayer::defaultLayer();
    networkActivityChanged(+1);
    m_transfer = m_layer->start(request, m_connection);
}

void RVImageDownload::didReceiveResponse(int statusCode)
{
    // A later response (after a redirection) replaces whatever came before it.
    m_status = statusCode;
    m_loadData = QByteArray();
}

void RVImageDownload::didReceiveData(const QByteArray &bytes)
{
    if (m_loadData.isNull())
        m_loadData.reserve(2048);
    m_loadData.append(bytes);
}

void RVImageDownload::didEnd(const RVNetworkLayer::Failure &failure)
{
    if (!failure) {
        didFinishLoading();
    } else if (failure.kind == RVNetworkLayer::FailureKind::TooLarge) {
        finish(u"picture larger than %1 bytes"_s.arg(kMaxDownloadBytes));
    } else {
        didFail(failure.detail);
    }
}

void RVImageDownload::didFinishLoading()
{
    if (m_status < 200 || m_status > 299) {
        didFail(u"HTTP status %1"_s.arg(m_status));
        return;
    }
    QString reason;
    finish(store(&reason) ? QString() : reason);
}

void RVImageDownload::didFail(const QString &reason)
{
    dropConnection();
    if (m_restarts >= m_policy.maxRestarts || (m_wanted && !m_wanted())) {
        finish(reason);
        return;
    }
    const auto delay = std::max(std::chrono::milliseconds(0), m_policy.firstDelay) *
                       (1LL << std::min(m_restarts, 20));
    ++m_restarts;
    qCDebug(lcAsynImage) << "download of" << m_url << "failed:" << reason << "- restart"
                         << m_restarts << "in" << delay.count() << "ms";
    m_restartTimer.start(delay);
}

void RVImageDownload::finish(const QString &failure)
{
    dropConnection();
    m_restartTimer.stop();
    if (!failure.isEmpty())
        qCWarning(lcAsynImage) << "no picture from" << m_url << ":" << failure;
    // Last: the one told may well drop this download.
    if (m_ended)
        m_ended(failure);
}

bool RVImageDownload::store(QString *reason) const
{
    // Decode the whole picture before anything is written: a body that is not a picture (an
    // error page, a cut-off download) must never become a cache file that later requests show.
    QBuffer buffer;
    buffer.setData(m_loadData);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (reader.read().isNull()) {
        *reason = u"not a picture (%1)"_s.arg(reader.errorString());
        return false;
    }
    QDir().mkpath(QFileInfo(m_fileName).absolutePath());
    QSaveFile out(m_fileName);
    if (!out.open(QIODevice::WriteOnly) || out.write(m_loadData) != m_loadData.size() ||
        !out.commit()) {
        *reason = u"cannot write %1: %2"_s.arg(m_fileName, out.errorString());
        out.cancelWriting();
        return false;
    }
    return true;
}

void RVImageDownload::dropConnection()
{
    m_loadData = QByteArray();
    if (!m_connection)
        return;
    // Detached first: nothing of this transfer reaches the download any more, even if it was
    // already on its way.
    m_connection->detach();
    m_connection.reset();
    m_layer->cancel(m_transfer);
    m_layer = nullptr;
    m_transfer = 0;
    networkActivityChanged(-1);
}
