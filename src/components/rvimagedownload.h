// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvnetworklayer.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

class RVNetworkForwarder;

// The download of one picture into its cache file. It owns the transfer under way and its
// restarts: a failed transfer is started again a bounded number of times with a growing
// delay, as long as somebody still wants the picture. A body is checked to be a picture and
// kept under a size cap before it is written, atomically, so that a cut-off download or an
// error page never becomes a cache file. Main thread only; the transfer's events arrive there.
class RVImageDownload final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVImageDownload)

public:
    // Bodies larger than this are refused: no doctor photo comes near it, and it bounds what
    // a wrong or hostile address can make the client hold in memory.
    static constexpr qint64 kMaxDownloadBytes = 8 * 1024 * 1024;
    static constexpr int kTimeoutMs = 60000;

    struct RestartPolicy {
        int maxRestarts = 5;
        // Each further restart waits twice as long as the one before.
        std::chrono::milliseconds firstDelay{1000};
    };
    // Told once: with an empty reason when the picture is in its file, with the reason when
    // the download was given up.
    using Ended = std::function<void(const QString &failure)>;
    // Asked before a restart: a picture nobody waits for any more is not asked for again.
    using Wanted = std::function<bool()>;

    RVImageDownload(const QString &url, const QString &fileName, RestartPolicy policy,
                    Wanted wanted, Ended ended);
    ~RVImageDownload() override;

    void start();
    bool isRestartPending() const { return m_restartTimer.isActive(); }

private:
    static void networkActivityChanged(int delta);
    void didReceiveResponse(int statusCode);
    void didReceiveData(const QByteArray &bytes);
    void didEnd(const RVNetworkLayer::Failure &failure);
    void didFinishLoading();
    void didFail(const QString &reason);
    void finish(const QString &failure);
    [[nodiscard]] bool store(QString *reason) const;
    void dropConnection();

    QString m_url;
    QString m_fileName;
    RestartPolicy m_policy;
    Wanted m_wanted;
    Ended m_ended;
    std::shared_ptr<RVNetworkForwarder> m_connection;
    RVNetworkLayer *m_layer = nullptr;
    quint64 m_transfer = 0;
    int m_status = 0;
    QByteArray m_loadData;
    QTimer m_restartTimer;
    int m_restarts = 0;
};
