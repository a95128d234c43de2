// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QList>

class QWidget;

namespace ui
{

// The Tab chain of a window: its stops in reading order, whatever order the views were made
// in. A stop is a shown, enabled widget that takes the focus by Tab (a view that can become
// focused, a field's editor); the controls inside a grid's entries are reached through the
// grid, and while an alert is up only the alert's buttons are stops. Going on from a table's
// last row in sight brings its next row into sight first, so that Tab reaches every row.
class FocusChain final
{
public:
    FocusChain() = delete;

    static QList<QWidget *> stops(QWidget *root);
    // Gives the focus to the stop after (before) the focus widget, round the window.
    static bool moveFocus(QWidget *window, bool forward);
    // Where the focus goes when a screen appears: its first text input, else its first stop.
    // Null when the screen has no stop.
    static QWidget *firstField(QWidget *screen);
    // Scrolls every scroll view the widget is in so that it shows.
    static void reveal(QWidget *widget);
};

} // namespace ui
