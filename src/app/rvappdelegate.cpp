// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "app/rvappdelegate.h"

#include "app/rvreminders.h"
#include "platform/desktopnotifier.h"
#include "screens/booking/rvbookingpassviewcontroller.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/storyboard.h"
#include "toolkit/window.h"

#include <QGuiApplication>

using namespace Qt::StringLiterals;

RVAppDelegate::RVAppDelegate(QObject *parent) : QObject(parent) {}

RVAppDelegate::~RVAppDelegate()
{
    m_reminders.reset();
    // Screens go before the window that shows them.
    m_navigation.reset();
    m_viewController.reset();
    m_window.reset();
}

bool RVAppDelegate::didFinishLaunchingWithOptions()
{
    auto root = ui::Storyboard::storyboardWithName(u"MainStoryboard"_s)
                    ->instantiateViewControllerWithIdentifier(u"main"_s);
    m_viewController = root;
    m_navigation = ui::NavigationController::initWithRootViewController(root);
    m_window = std::make_unique<ui::Window>();
    m_window->setRootViewController(m_navigation);
    // The window is titled after the screen shown; the platform adds the application's name.
    connect(m_navigation->navigationBar(), &ui::NavigationBar::titleChanged, m_window.get(),
            &QWidget::setWindowTitle);
    m_window->makeKeyAndVisible();
    return true;
}

void RVAppDelegate::startReminders()
{
    if (m_reminders)
        return;
    m_notifier = std::make_unique<platform::DesktopNotifier>(QGuiApplication::desktopFileName());
    m_reminders = std::make_unique<RVReminders>(m_notifier.get());
    connect(m_reminders.get(), &RVReminders::viewRequested, this, &RVAppDelegate::showBooking);
}

void RVAppDelegate::showBooking(const std::optional<RVReservationInfo> &booking)
{
    if (!m_navigation || !m_window)
        return;
    m_window->raise();
    m_window->activateWindow();
    std::shared_ptr<ui::ViewController> screen =
        booking ? RVBookingPassViewController::instantiateFor(*booking)
                : ui::Storyboard::storyboardWithName(u"MainStoryboard"_s)
                      ->instantiateViewControllerWithIdentifier(u"appointMent"_s);
    if (screen)
        m_navigation->pushViewController(screen, true);
}
