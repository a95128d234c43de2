// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvreservationinfo.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

class RVReminders;

namespace platform
{
class DesktopNotifier;
} // namespace platform

namespace ui
{
class NavigationController;
class ViewController;
class Window;
} // namespace ui

// The application delegate: owns the window with the navigation stack whose root is the home
// screen from the storyboard, and the desktop notifications with the reminders of the bookings.
// Its life-cycle handlers have nothing to do: saved values are written as they change.
class RVAppDelegate final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVAppDelegate)

public:
    explicit RVAppDelegate(QObject *parent = nullptr);
    ~RVAppDelegate() override;

    // Builds the first screens and shows the window; true as the platform expects.
    bool didFinishLaunchingWithOptions();
    // Reminds of the kept bookings from now on (not in a run that only takes a picture).
    void startReminders();
    void applicationWillResignActive() {}
    void applicationDidEnterBackground() {}
    void applicationWillEnterForeground() {}
    void applicationDidBecomeActive() {}
    void applicationWillTerminate() {}

    ui::Window *window() const { return m_window.get(); }
    std::shared_ptr<ui::ViewController> viewController() const { return m_viewController; }
    std::shared_ptr<ui::ViewController> loginViewController() const
    {
        return m_loginViewController;
    }
    std::shared_ptr<ui::ViewController> departmentListController() const
    {
        return m_departmentListController;
    }
    ui::NavigationController *navigationController() const { return m_navigation.get(); }
    platform::DesktopNotifier *desktopNotifier() const { return m_notifier.get(); }

private:
    // A reminder's "查看": the booking's pass, or the history when the pass cannot be shown.
    void showBooking(const std::optional<RVReservationInfo> &booking);

    std::unique_ptr<ui::Window> m_window;
    std::shared_ptr<ui::NavigationController> m_navigation;
    std::shared_ptr<ui::ViewController> m_viewController;
    std::shared_ptr<ui::ViewController> m_loginViewController;
    std::shared_ptr<ui::ViewController> m_departmentListController;
    std::unique_ptr<platform::DesktopNotifier> m_notifier;
    std::unique_ptr<RVReminders> m_reminders;
};
