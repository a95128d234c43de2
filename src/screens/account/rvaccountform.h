// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QPointer>
#include <QString>

#include <functional>

namespace ui
{
class Button;
class NavigationController;
class ViewController;
class TableView;
class TableViewCell;
class TextField;
class View;
} // namespace ui

// The layout the account forms (registration, profile, password) share beyond the form text
// field: the captioned rows of the profile and password forms, and the submit button that
// sits in the table under the last row.
namespace RVAccountForm
{
// Called with the field's tag and its whole text after every change.
using Changed = std::function<void(int tag, const QString &text)>;

// A profile or password row: the caption in the system font 16 at (15, 10) at the size it
// measures, and the form's text field after it, fieldWidth wide and as high as the
// caption. A reused row loses the caption and field it showed before. Returns the field.
ui::TextField *addCaptionedField(ui::TableViewCell *cell, int row, const QString &caption,
                                 qreal fieldWidth, Changed changed);
// The form's rounded-rectangle submit button with its title at size 20, placed
// bottomOffset above the end of the table's content. Made once: a second build of the
// last row moves the button kept in the slot instead of adding another. Returns the
// button when it is new (for the caller to wire), else null.
ui::Button *placeSubmitButton(ui::TableView *tableView, QPointer<ui::Button> &slot,
                              const QString &title, qreal bottomOffset);
// Return in the form's last field presses the button (after the field has closed the
// keyboard), and Tab there moves the keyboard focus to the button.
void submitFromLastField(ui::TextField *lastField, ui::Button *button);
// A change the service has made: confirmed with an alert and the screen popped while the
// screen is on top; when the user went back meanwhile, told by a tip over the navigation
// view, which outlives the screen.
void confirmDone(ui::ViewController *screen, const QPointer<ui::NavigationController> &navigation,
                 const QString &message);
// The form screens' grey: the table without its background view, table and screen both in
// white level 0.96.
void applyFormBackground(ui::View *screenView, ui::TableView *tableView);
// The form's table over the whole screen, its cells registered under the identifier, with a
// clear footer that leaves buttonSpace under the last row for the submit button.
ui::TableView *addFormTable(ui::View *screenView, const QString &reuseIdentifier,
                            qreal buttonSpace);
} // namespace RVAccountForm
