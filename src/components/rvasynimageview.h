// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvnetworklayer.h"
#include "toolkit/imageview.h"

#include <QByteArray>
#include <QString>
#include <QTimer>

#include <chrono>
#include <memory>

class RVNetworkForwarder;

// An image view that shows its placeholder at once and then the picture at imageURL. It owns
// the one download under way and the file cache: every picture that arrives is checked to be
// a picture, kept under a size cap and written atomically into the "DoctorImage" directory
// of the per-user cache location, named after the last piece of its address, and a later
// request for an address with the same last piece is served from that file without network
// traffic. Failed downloads are restarted a bounded number of times with a growing delay.
// Downloads go through the application's network layer, sharing its connections with the
// service exchanges. All calls belong on the main thread, where the download events arrive.
class RVAsynImageView final : public ui::ImageView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVAsynImageView)

public:
    // Bodies larger than this are refused: no doctor photo comes near it, and it bounds what
    // a wrong or hostile address can make the client hold in memory.
    static constexpr qint64 kMaxDownloadBytes = 8 * 1024 * 1024;
    static constexpr int kTimeoutMs = 60000;
    static constexpr int kDefaultMaxRestarts = 5;
    static constexpr std::chrono::milliseconds kDefaultFirstRestartDelay{1000};

    explicit RVAsynImageView(const QRectF &frame = {}, QWidget *parent = nullptr);
    ~RVAsynImageView() override;

    QString imageURL() const { return m_imageURL; }
    void setImageURL(const QString &imageURL);
    ui::Image placeholderImage() const { return m_placeholderImage; }
    void setPlaceholderImage(const ui::Image &image);
    QString fileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }

    // Starts the download of imageURL unless one is under way.
    void loadImage();

    // How often a failed download is started again, and the delay before the first restart;
    // each further restart waits twice as long as the one before.
    void setRestartPolicy(int maxRestarts, std::chrono::milliseconds firstDelay);
    bool isLoading() const { return m_connection != nullptr; }
    // The network layer of this view's downloads; null (the default) is the application's.
    void setNetworkLayer(RVNetworkLayer *layer) { m_layer = layer; }
    bool isRestartPending() const { return m_restartTimer.isActive(); }

    // The cache directory, "DoctorImage" in the per-user cache location.
    static QString cacheDirectory();
    // The cache file for an address: the piece after its last "/" inside the cache directory.
    static QString cacheFileNameForURL(const QString &imageURL);

Q_SIGNALS:
    // The downloaded picture is in its cache file and on screen.
    void imageLoaded();
    // The download was given up (refused, not a picture, or out of restarts); the placeholder
    // stays and no file was written.
    void imageLoadFailed(const QString &reason);

private:
    static void networkActivityChanged(int delta);
    void connectionDidReceiveResponse(int statusCode);
    void connectionDidReceiveData(const QByteArray &bytes);
    void connectionDidFinishLoading();
    void connectionDidEnd(const RVNetworkLayer::Failure &failure);
    void connectionDidFail(const QString &reason, bool restart);
    void giveUp(const QString &reason);
    bool storeDownload(const QByteArray &data, const QString &file, QString *reason) const;
    void dropConnection();

    QString m_imageURL;
    ui::Image m_placeholderImage;
    QString m_fileName;
    RVNetworkLayer *m_layer = nullptr;
    std::shared_ptr<RVNetworkForwarder> m_connection;
    RVNetworkLayer *m_connectionLayer = nullptr;
    quint64 m_transfer = 0;
    int m_status = 0;
    QByteArray m_loadData;
    QString m_downloadFileName;
    QTimer m_restartTimer;
    int m_restarts = 0;
    int m_maxRestarts = kDefaultMaxRestarts;
    std::chrono::milliseconds m_firstRestartDelay = kDefaultFirstRestartDelay;
};
