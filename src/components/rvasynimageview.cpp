// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "rvasynimageview.h"
#include "componentslog.h"

#include "protocols/rvnetworkforwarder.h"
#include "toolkit/application.h"
#include "toolkit/color.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace
{

// Downloads under way in all image views; the status-bar indicator shows while any runs.
int s_activeDownloads = 0;

} // namespace

RVAsynImageView::RVAsynImageView(const QRectF &frame, QWidget *parent)
    : ui::ImageView(frame, parent)
{
    layer().setBorderColor(ui::Color::whiteColor());
    layer().setBorderWidth(2);
    setBackgroundColor(ui::Color::grayColor());
    // Photographs come in any proportion: fill the frame and crop, never distort a face.
    setContentMode(ui::ContentMode::ScaleAspectFill);
    m_restartTimer.setSingleShot(true);
    connect(&m_restartTimer, &QTimer::timeout, this, &RVAsynImageView::loadImage);
}

RVAsynImageView::~RVAsynImageView()
{
    m_restartTimer.stop();
    dropConnection();
}

QString RVAsynImageView::cacheDirectory()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (base.isEmpty())
        base = QDir::tempPath();
    return base + u"/DoctorImage"_s;
}

QString RVAsynImageView::cacheFileNameForURL(const QString &imageURL)
{
    // Only the last piece names the file: whatever host or path precedes it, two addresses
    // ending alike share one file. A piece cannot hold "/", so it never leaves the directory.
    return u"%1/%2"_s.arg(cacheDirectory(), imageURL.split(u'/').constLast());
}

void RVAsynImageView::setPlaceholderImage(const ui::Image &image)
{
    if (image == m_placeholderImage)
        return;
    m_placeholderImage = image;
    setImage(image);
}

void RVAsynImageView::setImageURL(const QString &imageURL)
{
    if (imageURL != m_imageURL) {
        // A newer address: whatever the older download brings belongs to another picture.
        m_restartTimer.stop();
        dropConnection();
        m_restarts = 0;
        setImage(m_placeholderImage);
        m_imageURL = imageURL;
    }
    if (m_imageURL.isEmpty())
        return;
    QDir().mkpath(cacheDirectory());
    m_fileName = cacheFileNameForURL(m_imageURL);
    if (QFileInfo::exists(m_fileName)) {
        setImage(ui::Image::imageWithContentsOfFile(m_fileName));
        return;
    }
    if (!m_connection && !m_restartTimer.isActive())
        m_restarts = 0; // asked again after giving up: a fresh round of attempts
    loadImage();
}

void RVAsynImageView::setRestartPolicy(int maxRestarts, std::chrono::milliseconds firstDelay)
{
    m_maxRestarts = std::max(0, maxRestarts);
    m_firstRestartDelay = std::max(std::chrono::milliseconds(0), firstDelay);
}

void RVAsynImageView::networkActivityChanged(int delta)
{
    s_activeDownloads = std::max(0, s_activeDownloads + delta);
    ui::Application::setNetworkActivityIndicatorVisible(s_activeDownloads > 0);
}

void RVAsynImageView::loadImage()
{
    if (m_connection || m_imageURL.isEmpty())
        return;
    m_restartTimer.stop();
    const QUrl url(m_imageURL);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"http"_s && scheme != u"https"_s)) {
        giveUp(u"not a web address: %1"_s.arg(m_imageURL));
        return;
    }
    if (m_fileName.isEmpty())
        m_fileName = cacheFileNameForURL(m_imageURL);
    m_downloadFileName = m_fileName;
    m_loadData = QByteArray();
    m_status = 0;

    RVNetworkLayer::Request request;
    request.method = RVNetworkLayer::Method::Get;
    request.url = url;
    request.idleTimeoutMs = kTimeoutMs;
    request.maxBodyBytes = kMaxDownloadBytes;
    request.followRedirects = true;
    // A picture is asked for again as often as needed: nothing changes at the other end.
    request.resend = RVNetworkLayer::Resend::OnceOnStaleConnection;
    RVNetworkForwarder::Handlers handlers;
    handlers.response = [this](int status, const QString &) {
        connectionDidReceiveResponse(status);
    };
    handlers.data = [this](const QByteArray &bytes) { connectionDidReceiveData(bytes); };
    handlers.end = [this](const RVNetworkLayer::Failure &failure) { connectionDidEnd(failure); };
    m_connection = std::make_shared<RVNetworkForwarder>(this, std::move(handlers));
    m_connectionLayer = m_layer != nullptr ? m_layer : RVNetworkLayer::defaultLayer();
    networkActivityChanged(+1);
    m_transfer = m_connectionLayer->start(request, m_connection);
}

void RVAsynImageView::connectionDidReceiveResponse(int statusCode)
{
    // A later response (after a redirection) replaces whatever came before it.
    m_status = statusCode;
    m_loadData = QByteArray();
}

void RVAsynImageView::connectionDidReceiveData(const QByteArray &bytes)
{
    if (m_loadData.isNull())
        m_loadData.reserve(2048);
    m_loadData.append(bytes);
}

void RVAsynImageView::connectionDidEnd(const RVNetworkLayer::Failure &failure)
{
    if (!failure) {
        connectionDidFinishLoading();
        return;
    }
    if (failure.kind == RVNetworkLayer::FailureKind::TooLarge) {
        giveUp(u"picture larger than %1 bytes"_s.arg(kMaxDownloadBytes));
        return;
    }
    connectionDidFail(failure.detail, true);
}

void RVAsynImageView::connectionDidFinishLoading()
{
    if (m_status < 200 || m_status > 299) {
        connectionDidFail(u"HTTP status %1"_s.arg(m_status), true);
        return;
    }
    const QByteArray data = m_loadData;
    const QString file = m_downloadFileName;
    dropConnection();
    QString reason;
    if (!storeDownload(data, file, &reason)) {
        giveUp(reason);
        return;
    }
    m_restarts = 0;
    setImage(ui::Image::imageWithContentsOfFile(file));
    Q_EMIT imageLoaded();
}

void RVAsynImageView::connectionDidFail(const QString &reason, bool restart)
{
    dropConnection();
    if (!restart || m_restarts >= m_maxRestarts) {
        giveUp(reason);
        return;
    }
    const auto delay = m_firstRestartDelay * (1LL << std::min(m_restarts, 20));
    ++m_restarts;
    qCDebug(lcAsynImage) << "download of" << m_imageURL << "failed:" << reason << "- restart"
                         << m_restarts << "in" << delay.count() << "ms";
    m_restartTimer.start(delay);
}

void RVAsynImageView::giveUp(const QString &reason)
{
    dropConnection();
    m_restartTimer.stop();
    qCWarning(lcAsynImage) << "no picture from" << m_imageURL << ":" << reason;
    Q_EMIT imageLoadFailed(reason);
}

bool RVAsynImageView::storeDownload(const QByteArray &data, const QString &file,
                                    QString *reason) const
{
    // Decode the whole picture before anything is written: a body that is not a picture (an
    // error page, a cut-off download) must never become a cache file that later requests show.
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (reader.read().isNull()) {
        *reason = u"not a picture (%1)"_s.arg(reader.errorString());
        return false;
    }
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(data) != data.size() || !out.commit()) {
        *reason = u"cannot write %1: %2"_s.arg(file, out.errorString());
        out.cancelWriting();
        return false;
    }
    return true;
}

void RVAsynImageView::dropConnection()
{
    m_loadData = QByteArray();
    if (!m_connection)
        return;
    // Detached first: nothing of this download reaches the view any more, even if it was
    // already on its way.
    m_connection->detach();
    m_connection.reset();
    m_connectionLayer->cancel(m_transfer);
    m_connectionLayer = nullptr;
    m_transfer = 0;
    networkActivityChanged(-1);
}
