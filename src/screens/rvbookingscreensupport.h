// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QString>

namespace ui
{
class View;
class ViewController;
} // namespace ui

// The few screen chores the booking screens share until the common screen helpers exist:
// the plain alert, the clear list footer and the "is this screen still shown on top" check.
// Kept together so that they can be swapped for the shared helpers at once.
class RVBookingScreenSupport final
{
public:
    RVBookingScreenSupport() = delete;

    // An alert with no title, the message and the single button "确定".
    static void showAlert(const QString &message);
    // The clear 320 by 5 point view that ends every list.
    static ui::View *clearFooter();
    // True while the screen sits on top of its navigation stack.
    static bool isOnTop(const ui::ViewController *screen);
};
