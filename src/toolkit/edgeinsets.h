// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QMarginsF>

namespace ui
{

// Insets of a scroll view's content, in points, in the order top, left, bottom, right.
struct EdgeInsets {
    qreal top = 0;
    qreal left = 0;
    qreal bottom = 0;
    qreal right = 0;

    friend bool operator==(const EdgeInsets &, const EdgeInsets &) = default;
};

} // namespace ui
