// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QColor>

namespace ui
{

// Named colours and constructors from components in 0..1, as the screens write them.
// Components outside 0..1 are clamped (a red of 255 is full red), never rejected.
class Color final
{
public:
    Color() = delete;

    static QColor colorWithWhite(qreal white, qreal alpha = 1.0);
    static QColor colorWithRed(qreal red, qreal green, qreal blue, qreal alpha = 1.0);
    static QColor initWithWhite(qreal white, qreal alpha = 1.0)
    {
        return colorWithWhite(white, alpha);
    }
    static QColor initWithRed(qreal red, qreal green, qreal blue, qreal alpha = 1.0)
    {
        return colorWithRed(red, green, blue, alpha);
    }

    static QColor blackColor();
    static QColor darkGrayColor();
    static QColor lightGrayColor();
    static QColor whiteColor();
    static QColor grayColor();
    static QColor redColor();
    static QColor greenColor();
    static QColor blueColor();
    static QColor cyanColor();
    static QColor yellowColor();
    static QColor magentaColor();
    static QColor orangeColor();
    static QColor purpleColor();
    static QColor brownColor();
    static QColor clearColor();
    // The grouped-table background and the selection blue of the bars and cells.
    static QColor groupTableViewBackgroundColor();
    static QColor selectionBlueColor();
};

} // namespace ui
