// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "platform/desktopnotifier.h"

#include "platform/platformlog.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace platform
{

namespace
{
const QString &service()
{
    static const QString name = u"org.freedesktop.Notifications"_s;
    return name;
}

const QString &path()
{
    static const QString name = u"/org/freedesktop/Notifications"_s;
    return name;
}

QDBusMessage call(const QString &method)
{
    return QDBusMessage::createMethodCall(service(), path(), service(), method);
}
} // namespace

// Receives the service's signals with their sender, which the notifier checks: any program on
// the bus can send a signal of that name.
class DesktopNotifierSignals final : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    explicit DesktopNotifierSignals(DesktopNotifier *notifier)
        : QObject(notifier), m_notifier(notifier)
    {
    }

public Q_SLOTS:
    void actionInvoked(uint id, const QString &action)
    {
        m_notifier->onActionInvoked(message().service(), id, action);
    }

private:
    DesktopNotifier *m_notifier;
};

DesktopNotifier::DesktopNotifier(QString desktopEntry, QObject *parent)
    : DesktopNotifier(std::move(desktopEntry), QDBusConnection::sessionBus(), parent)
{
}

DesktopNotifier::DesktopNotifier(QString desktopEntry, const QDBusConnection &bus, QObject *parent)
    : QObject(parent), m_desktopEntry(std::move(desktopEntry)),
      m_bus(std::make_unique<QDBusConnection>(bus))
{
    if (!hasBus()) {
        qCInfo(lcNotifications) << "no session bus: desktop notifications are not shown";
        return;
    }
    listen();
    askCapabilities();
}

DesktopNotifier::~DesktopNotifier() = default;

bool DesktopNotifier::hasBus() const
{
    return m_bus->isConnected();
}

void DesktopNotifier::listen()
{
    // No sender named: naming the service would have Qt look its owner up, waiting on the bus.
    // The ids answered are this connection's own, and the sender must be the service that
    // answered them.
    auto *receiver = new DesktopNotifierSignals(this);
    m_bus->connect(QString(), path(), service(), u"ActionInvoked"_s, receiver,
                   SLOT(actionInvoked(uint, QString)));
}

void DesktopNotifier::askCapabilities()
{
    auto *watcher = new QDBusPendingCallWatcher(m_bus->asyncCall(call(u"GetCapabilities"_s)), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<QStringList> reply = *w;
        if (!reply.isError())
            m_bodyMarkup = reply.value().contains(u"body-markup"_s);
    });
}

bool DesktopNotifier::notify(const QString &key, const QString &summary, const QString &body)
{
    if (!hasBus())
        return false;
    const QString label = QCoreApplication::translate("DesktopNotifier", "查看");
    const QVariantMap hints{{u"desktop-entry"_s, m_desktopEntry}};
    // A text from elsewhere (a doctor's name) could hold markup of its own.
    const QString shownBody = m_bodyMarkup ? body.toHtmlEscaped() : body;
    QDBusMessage message = call(u"Notify"_s);
    message << m_desktopEntry << m_keys.key(key, 0u) << m_desktopEntry << summary << shownBody
            << QStringList{u"default"_s, label, u"view"_s, label} << hints << qint32(-1);
    auto *watcher = new QDBusPendingCallWatcher(m_bus->asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, key](QDBusPendingCallWatcher *w) { onNotifyAnswered(w, key); });
    return true;
}

void DesktopNotifier::onNotifyAnswered(QDBusPendingCallWatcher *watcher, const QString &key)
{
    watcher->deleteLater();
    const QDBusPendingReply<uint> reply = *watcher;
    if (reply.isError()) {
        if (!m_failureLogged)
            qCInfo(lcNotifications)
                << "a desktop notification could not be shown:" << reply.error().message();
        m_failureLogged = true;
        Q_EMIT failed(key);
        return;
    }
    m_service = watcher->reply().service();
    m_keys.remove(m_keys.key(key, 0u));
    m_keys.insert(reply.value(), key);
    Q_EMIT shown(key);
}

void DesktopNotifier::closeAll()
{
    for (auto it = m_keys.cbegin(); it != m_keys.cend(); ++it) {
        QDBusMessage message = call(u"CloseNotification"_s);
        message << it.key();
        m_bus->asyncCall(message);
    }
    m_keys.clear();
}

void DesktopNotifier::onActionInvoked(const QString &sender, uint id, const QString &action)
{
    const auto found = m_keys.constFind(id);
    if (sender == m_service && found != m_keys.cend() &&
        (action == u"default" || action == u"view"))
        Q_EMIT actionInvoked(*found);
}

} // namespace platform

#include "desktopnotifier.moc"
