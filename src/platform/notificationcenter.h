// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QList>
#include <QMutex>
#include <QString>

#include <functional>

namespace platform
{

struct Notification {
    QString name;
    const void *object = nullptr; // the sender
};

// Name-keyed observers with synchronous delivery on the posting thread. Observers are
// identified by an opaque pointer so that one object can remove all of its registrations at
// once. A handler may add or remove observers while it runs: delivery works on a snapshot.
class NotificationCenter final
{
public:
    using Handler = std::function<void(const Notification &)>;

    static NotificationCenter &defaultCenter();
    NotificationCenter() = default;
    Q_DISABLE_COPY_MOVE(NotificationCenter)

    // sender nullptr: notifications of that name from any sender.
    void addObserver(const void *observer, const QString &name, const void *sender,
                     Handler handler);
    void removeObserver(const void *observer);
    void postNotificationName(const QString &name, const void *sender);
    int observerCount(const QString &name) const;

private:
    struct Entry {
        const void *observer;
        QString name;
        const void *sender;
        Handler handler;
        quint64 id;
    };
    bool stillRegistered(quint64 id) const;

    mutable QMutex m_mutex;
    QList<Entry> m_entries;
    quint64 m_nextId = 0;
};

} // namespace platform
