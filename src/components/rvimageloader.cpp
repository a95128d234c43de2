// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/rvimageloader.h"

#include <QCoreApplication>

#include <algorithm>

using namespace Qt::StringLiterals;

RVImageLoader::RVImageLoader(QObject *parent) : QObject(parent) {}

RVImageLoader &RVImageLoader::shared()
{
    // Owned by the application object, so that its downloads end before the network layer
    // and the event loop do.
    static QPointer<RVImageLoader> loader;
    if (!loader)
        loader = new RVImageLoader(QCoreApplication::instance());
    return *loader;
}

ui::Image RVImageLoader::cachedImage(const QString &fileName) const
{
    const ui::Image *image = m_memory.object(fileName);
    return image != nullptr ? *image : ui::Image();
}

ui::Image RVImageLoader::imageForFile(const QString &fileName)
{
    if (const ui::Image *image = m_memory.object(fileName))
        return *image;
    const ui::Image image = ui::Image::imageWithContentsOfFile(fileName);
    if (!image.isNull()) {
        // Weighed by its pixels; one larger than the whole cache is shown but not kept.
        const QSizeF size = image.size();
        const auto bytes = std::max<qsizetype>(1, qsizetype(size.width() * size.height() * 4));
        m_memory.insert(fileName, new ui::Image(image), bytes);
    }
    return image;
}

void RVImageLoader::fetch(const QString &url, const QString &fileName, QObject *receiver, Done done)
{
    Pending &pending = m_pending[url];
    pending.waiters.append({receiver, std::move(done)});
    if (pending.download)
        return;
    pending.download = std::make_unique<RVImageDownload>(
        url, fileName, m_policy, [this, url] { return isWanted(url); },
        [this, url, fileName](const QString &failure) { downloadEnded(url, fileName, failure); });
    pending.download->start();
}

void RVImageLoader::cancel(const QString &url, QObject *receiver)
{
    const auto it = m_pending.find(url);
    if (it == m_pending.end())
        return;
    it->second.waiters.removeIf([receiver](const Waiter &w) { return w.receiver == receiver; });
    // The download itself runs on: the picture lands in the caches for the next view that
    // shows it, as a row scrolled away and back again does.
}

bool RVImageLoader::isRestartPending(const QString &url) const
{
    const auto it = m_pending.find(url);
    return it != m_pending.end() && it->second.download->isRestartPending();
}

bool RVImageLoader::isWanted(const QString &url) const
{
    const auto it = m_pending.find(url);
    return it != m_pending.end() &&
           std::any_of(it->second.waiters.cbegin(), it->second.waiters.cend(),
                       [](const Waiter &w) { return !w.receiver.isNull(); });
}

void RVImageLoader::downloadEnded(const QString &url, const QString &fileName,
                                  const QString &failure)
{
    const auto it = m_pending.find(url);
    if (it == m_pending.end())
        return;
    // Taken out before anyone is told: a view told may ask again at once.
    Pending pending = std::move(it->second);
    m_pending.erase(it);
    const ui::Image image = failure.isEmpty() ? imageForFile(fileName) : ui::Image();
    const QString reason =
        failure.isEmpty() && image.isNull() ? u"no picture in "_s + fileName : failure;
    for (const Waiter &waiter : pending.waiters) {
        if (waiter.receiver && waiter.done)
            waiter.done(image, reason);
    }
    // The download is still on the stack below this call: it goes on a later turn.
    RVImageDownload *ended = pending.download.release();
    ended->setParent(this);
    ended->deleteLater();
}
