// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "components/rvprogress.h"
#include "toolkit/viewcontroller.h"

#include <QPointer>
#include <QRectF>
#include <QString>

#include <functional>
#include <memory>

namespace ui
{
class Button;
class TableView;
class TableViewCell;
class TextField;
} // namespace ui

// What the four account forms (registration, profile, password, and the personal centre's
// logout) share: the alert with no title and "确定", the form's text field and its submit
// button, the captioned rows of the profile and password forms, and the way a service
// exchange runs. The exchange is split in two: a fetch that gets copies of its inputs and
// returns an outcome on a worker without touching the screen, and a finish on the main thread
// that receives the outcome and alone assigns the screen's fields. The finish holds the screen
// weakly and acts only while it is still shown on top, since the user may have gone back.
class RVAccountForm final
{
public:
    RVAccountForm() = delete;

    static void showAlert(const QString &message);
    // A row's text field as the forms build it: centred vertically, "Done" key, clear button
    // while editing, white, tagged with the row.
    static ui::TextField *makeField(const QRectF &frame, int row, const QString &text,
                                    const QString &placeholder, bool secure);
    // The caption of a profile or password row in the system font 16 at (15, 10), measured,
    // and the text field after it, as high as the caption; returns the field. A reused row
    // loses the caption and field it showed before.
    static ui::TextField *addCaptionedField(ui::TableViewCell *cell, const QString &caption,
                                            qreal fieldWidth);
    // The form's rounded-rectangle submit button with its title at size 20, placed
    // bottomOffset above the end of the table's content. Made once: a second build of the
    // last row moves the button kept in the slot instead of adding another. Returns the
    // button when it is new (for the caller to wire), else null.
    static ui::Button *placeSubmitButton(ui::TableView *tableView, QPointer<ui::Button> &slot,
                                         const QString &title, qreal bottomOffset);
    // A clear table footer that leaves room under the last row for the submit button.
    static void reserveButtonSpace(ui::TableView *tableView, qreal height);

    static bool isOnTop(const ui::ViewController *screen);
    // The screen when it is still alive and the top of its navigation stack, else null.
    template <class Screen>
    static std::shared_ptr<Screen> screenOnTop(const std::weak_ptr<ui::ViewController> &weak)
    {
        auto screen = std::dynamic_pointer_cast<Screen>(weak.lock());
        return screen && isOnTop(screen.get()) ? screen : nullptr;
    }

    // Runs fetch on a worker behind the overlay over the screen's view, then finish on the
    // main thread with what fetch returned. Only the worker writes the shared outcome, before
    // the finish is queued; only the finish reads it, after.
    template <class Outcome>
    static void runBehindOverlay(ui::ViewController *screen, const QString &text,
                                 std::function<Outcome()> fetch,
                                 std::function<void(const Outcome &)> finish)
    {
        auto outcome = std::make_shared<Outcome>();
        RVProgress::create()->showWhileExecuting(
            [outcome, fetch = std::move(fetch)](RVProgress &) { *outcome = fetch(); },
            [outcome, finish = std::move(finish)](RVProgress &) { finish(*outcome); }, nullptr,
            screen->view(), text);
    }
};
