// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "platform/notificationcenter.h"

namespace platform
{

NotificationCenter &NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

void NotificationCenter::addObserver(const void *observer, const QString &name, const void *sender,
                                     Handler handler)
{
    QMutexLocker lock(&m_mutex);
    m_entries.append(Entry{observer, name, sender, std::move(handler), m_nextId++});
}

void NotificationCenter::removeObserver(const void *observer)
{
    QMutexLocker lock(&m_mutex);
    m_entries.removeIf([observer](const Entry &e) { return e.observer == observer; });
}

bool NotificationCenter::stillRegistered(quint64 id) const
{
    QMutexLocker lock(&m_mutex);
    return std::any_of(m_entries.cbegin(), m_entries.cend(),
                       [id](const Entry &e) { return e.id == id; });
}

void NotificationCenter::postNotificationName(const QString &name, const void *sender)
{
    QList<Entry> targets;
    {
        QMutexLocker lock(&m_mutex);
        for (const Entry &e : std::as_const(m_entries)) {
            if (e.name == name && (e.sender == nullptr || e.sender == sender))
                targets.append(e);
        }
    }
    const Notification note{name, sender};
    for (const Entry &e : std::as_const(targets)) {
        // An earlier handler may have removed this observer; it must not be called then.
        if (stillRegistered(e.id))
            e.handler(note);
    }
}

int NotificationCenter::observerCount(const QString &name) const
{
    QMutexLocker lock(&m_mutex);
    return int(std::count_if(m_entries.cbegin(), m_entries.cend(),
                             [&name](const Entry &e) { return e.name == name; }));
}

} // namespace platform
