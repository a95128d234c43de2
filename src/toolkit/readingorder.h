// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QList>

class QWidget;

namespace ui
{

// The order in which a person reads what a screen shows: line by line from the top, left to
// right within a line. The screen reader and the Tab key both go this way, whatever order the
// views were made in (a form builds its button before its rows).
class ReadingOrder final
{
public:
    ReadingOrder() = delete;

    // Sorts widgets that all lie within `reference` by where they show in it. A widget belongs
    // to the line of the first one above it when it starts within the upper half of the lower
    // of the two (a tall list does not swallow the rows beside it).
    static void sort(QList<QWidget *> &widgets, const QWidget *reference);
};

} // namespace ui
