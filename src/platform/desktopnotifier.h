// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <memory>

class QDBusConnection;
class QDBusPendingCallWatcher;

namespace platform
{

// Desktop notifications through the desktop's notification service
// (org.freedesktop.Notifications on the session bus), each under a key its caller chooses:
// what the user does with a notification comes back under that key. Every call is
// asynchronous, so the interface never waits on the bus. Without a session bus nothing is
// sent (notify() says false); without a notification service a sent one fails (failed());
// either is logged once, never an error for the caller.
class DesktopNotifier final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopNotifier)

public:
    // desktopEntry: the application's desktop-entry id (its .desktop file's name without the
    // suffix); the service names the sender by it and takes its icon.
    explicit DesktopNotifier(QString desktopEntry, QObject *parent = nullptr);
    DesktopNotifier(QString desktopEntry, const QDBusConnection &bus, QObject *parent = nullptr);
    ~DesktopNotifier() override;

    bool hasBus() const;
    // Shows a notification with the action "查看"; one still shown under the same key is
    // replaced. False when there is no bus to send it on.
    bool notify(const QString &key, const QString &summary, const QString &body);
    // Takes back every notification still shown (the user they were for logged out).
    void closeAll();

Q_SIGNALS:
    // The service shows it.
    void shown(const QString &key);
    // It could not be shown: no notification service, or it refused.
    void failed(const QString &key);
    // The user chose it or its "查看".
    void actionInvoked(const QString &key);

private:
    friend class DesktopNotifierSignals;
    void onActionInvoked(const QString &sender, uint id, const QString &action);
    void listen();
    void askCapabilities();
    void onNotifyAnswered(QDBusPendingCallWatcher *watcher, const QString &key);

    QString m_desktopEntry;
    std::unique_ptr<QDBusConnection> m_bus;
    // The service's ids of the notifications shown in this run, with their keys; kept after a
    // notification closes, since services that keep a history still act on it later.
    QHash<uint, QString> m_keys;
    // The unique bus name of the service that answered: only its signals count.
    QString m_service;
    // Most services read the body as markup; one that says it does not gets it plain.
    bool m_bodyMarkup = true;
    bool m_failureLogged = false;
};

} // namespace platform
