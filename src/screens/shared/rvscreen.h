// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/viewcontroller.h"

#include <QString>

#include <memory>

namespace ui
{
class AlertView;
}

// What every screen of the application shares: the navigation-bar treatment applied each time
// it appears (the previous screen's item gets the back button "返回", and a "主页" button that
// pops to the home screen appears once the stack is deeper than two screens), and the checks a
// finish makes before it does anything visible, since it may run after the user went back.
class RVScreen : public ui::ViewController
{
    Q_OBJECT
public:
    RVScreen();

    // Applies the navigation convention; a screen that overrides it calls this first.
    void viewDidAppear(bool animated) override;
    void setNavigationInfo();
    void gotMainPage();

    // True while the screen is in a navigation stack and on top of it.
    bool isOnTop() const;
    // Pops the screen, animated, only when it is on top; true when it popped.
    bool popIfOnTop();
    // The failure alert, shown only while the screen is on top; null otherwise.
    ui::AlertView *alertIfOnTop(const QString &message);
    ui::AlertView *alertIfOnTop(const QString &title, const QString &message);

    // A new screen of the main storyboard by its identifier; null when there is none.
    static std::shared_ptr<ui::ViewController> fromStoryboard(const QString &identifier);
    // The same, as the class the caller hands its inputs to; null when it is another.
    template <class Screen> static std::shared_ptr<Screen> fromStoryboard(const QString &identifier)
    {
        return std::dynamic_pointer_cast<Screen>(fromStoryboard(identifier));
    }
};
