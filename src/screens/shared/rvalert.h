// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace ui
{
class AlertView;
class View;
class ViewController;
} // namespace ui

// The screens' one way of telling the user something and of asking a question: a modal alert
// drawn in the window, or a tip that hides by itself. A finish that may run after its screen
// was left asks for the on-top form, so that a late outcome never pops up over another
// screen. No screen is an alert's delegate: the answer to a question is a callback.
namespace RVAlert
{
// A failure or a notice: the message, no title (unless one is given), the single button "确定".
ui::AlertView *show(const QString &message);
ui::AlertView *show(const QString &title, const QString &message);
// Shown only while the screen is the top of its navigation stack; null otherwise.
ui::AlertView *showIfOnTop(ui::ViewController *screen, const QString &message);
ui::AlertView *showIfOnTop(ui::ViewController *screen, const QString &title,
                           const QString &message);

// A question with choices: the cancel button first, then the choices in their order. The
// answer hears the index of the button tapped (0 for the cancel button), and only while the
// asker is still there: an alert outlives the screen that showed it. An asker is a screen's
// weak_from_this() or another role's aliveToken(); the form without one always answers.
using Answer = std::function<void(int buttonIndex)>;
ui::AlertView *ask(std::weak_ptr<const void> asker, const QString &title, const QString &message,
                   const QString &cancel, const QStringList &choices, Answer answer);
ui::AlertView *ask(const QString &title, const QString &message, const QString &cancel,
                   const QStringList &choices, Answer answer);

// A question before an action: "取消" and the confirming button. The action runs on the
// confirming tap, and only while the screen is still the top of its stack: a screen the user
// left meanwhile asks nothing of it.
ui::AlertView *confirm(ui::ViewController *screen, const QString &title, const QString &message,
                       const QString &confirmTitle, std::function<void()> action);
// What a screen that needs a login says without one: "还未登陆，现在登陆" with "取消" and
// "确定", which opens the login screen over it.
ui::AlertView *offerLogin(ui::ViewController *screen);

// A short text over a view for about three seconds, touches passing through. Given the
// navigation container's view, the tip outlives the screen that showed it.
void tip(const QString &message, ui::View *over);
} // namespace RVAlert
