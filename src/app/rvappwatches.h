// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvuserstore.h"
#include "models/rvwatch.h"

#include <QHash>
#include <QObject>
#include <QPointer>

#include <memory>

class RVWatchPoller;

namespace platform
{
class DesktopNotifier;
}
namespace ui
{
class NavigationController;
}

// The logged-in user's watches while the application runs: a poller for that user from login
// to logout, told whenever a screen adds or removes a watch, stopped at quit. A half-day that
// takes bookings again is told to the user as a desktop notification (inside the window when
// the desktop shows none), and its "查看" opens the half-day's time slots as the doctor detail
// would.
class RVAppWatches final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVAppWatches)

public:
    // notifier: the application's, shared with the reminders; null shows everything inside the
    // window.
    RVAppWatches(ui::NavigationController *navigation, platform::DesktopNotifier *notifier,
                 QObject *parent = nullptr);
    ~RVAppWatches() override;

    // Follows the login state from now on.
    void start();
    // At quit: no round starts any more.
    void stop();

    // The time-slot screen of the half-day of a reported watch, pushed over what is shown.
    void openTimeSlots(const QString &key);

private:
    void follow(bool logined);
    void announce(const RVWatch &watch);
    void announceInWindow(const QString &key);

    QPointer<ui::NavigationController> m_navigation;
    QPointer<platform::DesktopNotifier> m_notifier;
    std::unique_ptr<RVWatchPoller> m_poller;
    RVUserStore m_user;
    // The reported watches by key, for the action that opens them.
    QHash<QString, RVWatch> m_reported;
};
