// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "components/rvimagedownload.h"

#include "toolkit/image.h"

#include <QCache>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <unordered_map>

// The pictures behind every image view of the application. It owns the downloads under way,
// one per address at a time, shared by every view that asks for that address while it runs,
// and a bounded memory cache of decoded pictures in front of the file cache, keyed like the
// file cache by the cache file. A list row rebuilt while scrolling thus shows its photo from
// memory, or joins the download already running for it, instead of asking the network again.
// A download whose views have all gone still ends in the caches, but is not restarted after a
// failure. Main thread only.
class RVImageLoader final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVImageLoader)

public:
    // Decoded pictures held in memory, in bytes of pixels.
    static constexpr qsizetype kMemoryCacheBytes = 16 * 1024 * 1024;

    // Told once: the picture (null when there is none) and, when there is none, why.
    using Done = std::function<void(const ui::Image &image, const QString &failure)>;

    static RVImageLoader &shared();

    // The picture of a cache file from memory; null when memory does not hold it.
    ui::Image cachedImage(const QString &fileName) const;
    // The picture of a cache file, from memory or else read from the file and kept in memory;
    // null when the file holds no picture.
    ui::Image imageForFile(const QString &fileName);
    void removeAllCachedImages() { m_memory.clear(); }

    // Asks for the picture at url, to be kept in fileName; done runs on a later turn of the
    // event loop, unless receiver is gone or has cancelled by then.
    void fetch(const QString &url, const QString &fileName, QObject *receiver, Done done);
    void cancel(const QString &url, QObject *receiver);
    bool isRestartPending(const QString &url) const;

    void setRestartPolicy(const RVImageDownload::RestartPolicy &policy) { m_policy = policy; }

private:
    struct Waiter {
        QPointer<QObject> receiver;
        Done done;
    };
    struct Pending {
        std::unique_ptr<RVImageDownload> download;
        QList<Waiter> waiters;
    };

    explicit RVImageLoader(QObject *parent);
    bool isWanted(const QString &url) const;
    void downloadEnded(const QString &url, const QString &fileName, const QString &failure);

    QCache<QString, ui::Image> m_memory{kMemoryCacheBytes};
    std::unordered_map<QString, Pending> m_pending;
    RVImageDownload::RestartPolicy m_policy;
};
