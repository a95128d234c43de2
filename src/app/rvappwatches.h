// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvwatch.h"

#include <QHash>
#include <QObject>
#include <QPointer>

#include <memory>

class RVWatchPoller;

namespace ui
{
class NavigationController;
}

// The logged-in user's watches while the application runs: a poller for that user from login
// to logout, told whenever a screen adds or removes a watch, stopped at quit. A half-day that
// takes bookings again is told to the user, and their "查看" opens its time slots as the doctor
// detail would.
class RVAppWatches final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVAppWatches)

public:
    explicit RVAppWatches(ui::NavigationController *navigation, QObject *parent = nullptr);
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

    QPointer<ui::NavigationController> m_navigation;
    std::unique_ptr<RVWatchPoller> m_poller;
    QString m_yhid;
    // The reported watches by key, for the action that opens them.
    QHash<QString, RVWatch> m_reported;
};
