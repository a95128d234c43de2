// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvuserinfo.h"

#include <QString>

#include <memory>

class RVServiceThread;
class ScreenFixture;

namespace ui
{
class NavigationController;
class TableView;
class TextField;
class ViewController;
} // namespace ui

// What the account screen tests share: the stand-in service running on a thread of its own
// (so that the test thread may make blocking client calls), typing as a user types (any text,
// Chinese included, through the input method), and accounts made on the service.
class AccountScreenTesting final
{
public:
    AccountScreenTesting() = delete;

    // Starts the service and points every client at it; false with a message otherwise.
    static std::unique_ptr<RVServiceThread> startService(QString *error);
    // The text field of a form row: the row's accessory, or the one in its content.
    static ui::TextField *field(ui::TableView *table, int row);
    // Replaces the field's text as a user does (select all, erase, type), so that every
    // change reaches the screen.
    static void type(ui::TextField *field, const QString &text);
    // A name no other test of the run has used.
    static QString freshAccountName();
    // Registers an account and logs it in through the client, as the login screen would:
    // afterwards the saved record, password and login state are those of this user.
    static RVUserInfo registerAndLogin(const QString &name, const QString &password);
    // Launches the application and waits until the home screen's automatic login (when the
    // saved last login succeeded) has ended: it hands out a new login key, which an exchange
    // started meanwhile would miss. False when it never ends.
    static bool launchSettled(ScreenFixture &app);
    // Pushes the screen with the storyboard identifier onto the fixture's stack, animation
    // off, and returns it.
    static ui::ViewController *push(ui::NavigationController *navigation,
                                    const QString &identifier);
};
