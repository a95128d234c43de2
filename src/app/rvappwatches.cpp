// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "app/rvappwatches.h"

#include "models/rvwatchpoller.h"
#include "platform/desktopnotifier.h"
#include "platform/notificationcenter.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvloginstate.h"
#include "screens/booking/rvreservationtimeelectcontroller.h"
#include "screens/shared/rvalert.h"
#include "toolkit/navigationcontroller.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace
{
Q_LOGGING_CATEGORY(lcWatches, "rv.app.watches", QtInfoMsg)

// The notifier is shared with the reminders: the watches' keys are told apart by this prefix.
const QString keyPrefix = u"watch:"_s;
} // namespace

RVAppWatches::RVAppWatches(ui::NavigationController *navigation,
                           platform::DesktopNotifier *notifier, QObject *parent)
    : QObject(parent), m_navigation(navigation), m_notifier(notifier)
{
    if (notifier == nullptr)
        return;
    connect(notifier, &platform::DesktopNotifier::actionInvoked, this, [this](const QString &key) {
        if (key.startsWith(keyPrefix))
            openTimeSlots(key.mid(keyPrefix.size()));
    });
    // No notification service: the user is told inside the window.
    connect(notifier, &platform::DesktopNotifier::failed, this, [this](const QString &key) {
        if (key.startsWith(keyPrefix))
            announceInWindow(key.mid(keyPrefix.size()));
    });
}

RVAppWatches::~RVAppWatches()
{
    platform::NotificationCenter::defaultCenter().removeObserver(this);
}

void RVAppWatches::start()
{
    platform::NotificationCenter::defaultCenter().addObserver(
        this, RVWatch::changedNotification(), nullptr,
        [self = QPointer<RVAppWatches>(this)](const platform::Notification &) {
            // The store announces on the worker that changed it; the poller lives here.
            QMetaObject::invokeMethod(
                qApp,
                [self] {
                    if (self && self->m_poller)
                        self->m_poller->refresh();
                },
                Qt::QueuedConnection);
        });
    RVLoginState::observe(this, [this](bool logined) { follow(logined); });
    follow(RVAppConfigInfo::userLogined());
}

void RVAppWatches::stop()
{
    RVLoginState::instance().disconnect(this);
    m_poller.reset();
}

void RVAppWatches::follow(bool logined)
{
    const RVUserStore user = logined ? RVUserStore::loggedIn() : RVUserStore();
    if (user.yhid() == m_user.yhid())
        return;
    // The watches are the user's: another user's (or none after a logout) end the rounds.
    m_poller.reset();
    m_reported.clear();
    m_user = user;
    if (!user.hasUser())
        return;
    m_poller = std::make_unique<RVWatchPoller>(user);
    connect(m_poller.get(), &RVWatchPoller::placesFound, this, &RVAppWatches::announce);
    m_poller->refresh();
}

void RVAppWatches::announce(const RVWatch &watch)
{
    qCInfo(lcWatches) << "places again:" << watch.key();
    m_reported.insert(watch.key(), watch);
    if (!m_notifier ||
        !m_notifier->notify(keyPrefix + watch.key(), tr("有号提醒"), watch.hitText()))
        announceInWindow(watch.key());
}

void RVAppWatches::announceInWindow(const QString &key)
{
    const auto found = m_reported.constFind(key);
    ui::ViewController *shown = m_navigation ? m_navigation->topViewController() : nullptr;
    if (found == m_reported.constEnd() || shown == nullptr)
        return;
    RVAlert::confirm(shown, tr("有号提醒"), found->hitText(), tr("查看"),
                     [this, key] { openTimeSlots(key); });
}

void RVAppWatches::openTimeSlots(const QString &key)
{
    const auto found = m_reported.constFind(key);
    if (found == m_reported.constEnd() || !m_navigation)
        return;
    auto next =
        RVReservationTimeElectController::instantiateFor(found->doctor(), found->schedule());
    if (!next)
        return;
    if (QWidget *window = m_navigation->view() ? m_navigation->view()->window() : nullptr) {
        window->raise();
        window->activateWindow();
    }
    m_navigation->pushViewController(next, true);
}
