// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QString>

#include <functional>

namespace ui
{
class AlertView;
class ViewController;
} // namespace ui

// The screens' way of telling the user a failure: a modal alert with the message, no title
// (unless one is given), no delegate and the single button "确定". A finish that may run after
// its screen was left asks for the on-top form, so that a late outcome never pops up over
// another screen.
namespace RVAlert
{
ui::AlertView *show(const QString &message);
ui::AlertView *show(const QString &title, const QString &message);
// Shown only while the screen is the top of its navigation stack; null otherwise.
ui::AlertView *showIfOnTop(ui::ViewController *screen, const QString &message);
ui::AlertView *showIfOnTop(ui::ViewController *screen, const QString &title,
                           const QString &message);
// A question before an action: "取消" and the confirming button. The action runs on the
// confirming tap, and only while the screen is still the top of its stack: a screen the user
// left meanwhile asks nothing of it.
ui::AlertView *confirm(ui::ViewController *screen, const QString &title, const QString &message,
                       const QString &confirmTitle, std::function<void()> action);
} // namespace RVAlert
