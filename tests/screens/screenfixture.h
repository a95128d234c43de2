// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/viewcontroller.h"

#include <QString>

#include <memory>

namespace ui
{
class AlertView;
class NavigationController;
class Window;
} // namespace ui

// The application as a test sees it: the storyboard registered (with stand-ins for screens
// that other parts of the application provide), a shown window whose navigation stack has
// the home screen at its root, animations off, saved values in the test location.
class ScreenFixture final
{
public:
    ScreenFixture();
    ~ScreenFixture();

    static void prepareOnce();
    static void forgetLogin();
    void launch();
    ui::NavigationController *navigation() const { return m_navigation.get(); }
    QString topIdentifier() const;
    static ui::AlertView *visibleAlert();
    static QString tipText(ui::NavigationController *navigation);

private:
    std::unique_ptr<ui::Window> m_window;
    std::shared_ptr<ui::NavigationController> m_navigation;
};

// What the stand-in screens report as their identifier.
class StandInScreen : public ui::ViewController
{
    Q_OBJECT

public:
    explicit StandInScreen(QString identifier) : m_identifier(std::move(identifier)) {}
    QString identifier() const { return m_identifier; }

private:
    QString m_identifier;
};
