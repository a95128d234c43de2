// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "app/rvappdelegate.h"

#include "toolkit/navigationcontroller.h"
#include "toolkit/storyboard.h"
#include "toolkit/window.h"

using namespace Qt::StringLiterals;

RVAppDelegate::RVAppDelegate(QObject *parent) : QObject(parent) {}

RVAppDelegate::~RVAppDelegate()
{
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
