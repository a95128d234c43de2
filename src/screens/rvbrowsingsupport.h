// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "components/rvprogress.h"
#include "toolkit/viewcontroller.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace ui
{
class View;
}

// What the browsing screens share while the common screen helpers are still being written:
// the alert with no title and "确定", the check that a screen is still the one on top, the
// clear 320 by 5 list footer, and the load that fetches on a worker from copied inputs and
// hands the outcome to the screen on the main thread. Kept together so that the screens can
// switch to the common helpers in one step.
class RVBrowsingSupport final
{
public:
    RVBrowsingSupport() = delete;

    static void showAlert(const QString &message);
    // Whether the screen is the top of its navigation stack (a screen the user has left, or
    // one never pushed, is not).
    static bool isOnTop(const ui::ViewController *screen);
    static ui::View *clearFooter();

    // Runs fetch on a worker behind the overlay with the text, then apply on the main thread.
    // fetch sees only what it captured by value; the screen is reached only by apply, and only
    // while it still exists. The overlay covers the screen's view for as long as that exists.
    template <class Screen, class Outcome>
    static void load(Screen *screen, const QString &text, std::function<Outcome()> fetch,
                     void (Screen::*apply)(const Outcome &))
    {
        // Written once by the worker before the finish runs, read only by the finish.
        auto outcome = std::make_shared<std::optional<Outcome>>();
        const std::weak_ptr<ui::ViewController> weakScreen = screen->weak_from_this();
        RVProgress::create()->showWhileExecuting(
            [outcome, fetch = std::move(fetch)](RVProgress &) { *outcome = fetch(); },
            [outcome, weakScreen, apply](RVProgress &) {
                auto self = std::static_pointer_cast<Screen>(weakScreen.lock());
                if (self && outcome->has_value())
                    (self.get()->*apply)(**outcome);
            },
            // No strong hold on the screen: the work never touches it, and a screen the user
            // has left goes at once rather than with the last queued finish.
            nullptr, screen->view(), text);
    }
};
