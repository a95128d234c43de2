// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

namespace ui
{
class ViewController;
}

// The navigation-bar treatment every pushed screen applies each time it appears: the previous
// screen's item gets the back button "返回", and a "主页" button that pops to the home screen
// appears once the stack is deeper than two screens.
class RVNavigationConvention final
{
public:
    static void setNavigationInfo(ui::ViewController *screen);
    static void gotMainPage(ui::ViewController *screen);
};
