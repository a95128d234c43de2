// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QAccessible>
#include <QList>
#include <QString>

class QWidget;

namespace ui
{

class View;

// Carries the toolkit's views to assistive technologies through QAccessible, which Qt's AT-SPI
// bridge hands on to screen readers. The views paint their own text, so Qt's generic widget
// interfaces would show a tree of nameless panes: install() registers a factory that reads
// each view's role, name and action from the view itself (View::accessibilityRole and the
// rest). The tree is the one a phone's screen reader walks: a view that is no element of its
// own (a container, a picture without description) hands its elements up to the nearest
// element above it, and an element that reads its subviews as part of itself (a button, a
// grid entry) shows none. A row of a list reads its texts and pictures as its name and shows
// only the controls in it.
class Accessibility final
{
public:
    Accessibility() = delete;

    // Registers the factory; once is enough, more is harmless. The window does it.
    static void install();

    static bool isElement(const QWidget *widget);
    // An element that assistive technologies reach: in no element that hides its subviews or
    // reads them into its name.
    static bool isExposed(const QWidget *widget);
    // The elements directly under an element (or the window), in reading order.
    static QList<QWidget *> elementsUnder(const QWidget *widget);
    // The element a widget belongs to: its nearest ancestor that is an element.
    static QWidget *elementAbove(const QWidget *widget);
    // The names of the texts and pictures under a widget, in reading order, joined by spaces.
    static QString textsUnder(const QWidget *widget);
    // The names of the controls under a widget (its first elements that are neither texts nor
    // pictures), in reading order: what names a row or an entry that shows no text.
    static QString controlNamesUnder(const QWidget *widget);

    // Announcements, sent only while some assistive technology listens.
    static void nameChanged(QWidget *widget);
    // A widget came into sight: its element (or, for a field, its editor) joins its parent's
    // elements for readers that keep a copy of the tree.
    static void shown(QWidget *widget);
    static void focusMovedTo(QWidget *widget);
    static void stateChanged(QWidget *widget, const QAccessible::State &changed);
};

} // namespace ui
