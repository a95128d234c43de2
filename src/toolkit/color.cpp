// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/color.h"

#include <algorithm>

namespace ui
{

namespace
{
qreal clamp01(qreal v)
{
    return std::clamp(v, 0.0, 1.0);
}
} // namespace

QColor Color::colorWithWhite(qreal white, qreal alpha)
{
    const qreal w = clamp01(white);
    return QColor::fromRgbF(float(w), float(w), float(w), float(clamp01(alpha)));
}

QColor Color::colorWithRed(qreal red, qreal green, qreal blue, qreal alpha)
{
    return QColor::fromRgbF(float(clamp01(red)), float(clamp01(green)), float(clamp01(blue)),
                            float(clamp01(alpha)));
}

QColor Color::blackColor()
{
    return colorWithWhite(0.0);
}
QColor Color::darkGrayColor()
{
    return colorWithWhite(1.0 / 3.0);
}
QColor Color::lightGrayColor()
{
    return colorWithWhite(2.0 / 3.0);
}
QColor Color::whiteColor()
{
    return colorWithWhite(1.0);
}
QColor Color::grayColor()
{
    return colorWithWhite(0.5);
}
QColor Color::redColor()
{
    return colorWithRed(1, 0, 0);
}
QColor Color::greenColor()
{
    return colorWithRed(0, 1, 0);
}
QColor Color::blueColor()
{
    return colorWithRed(0, 0, 1);
}
QColor Color::cyanColor()
{
    return colorWithRed(0, 1, 1);
}
QColor Color::yellowColor()
{
    return colorWithRed(1, 1, 0);
}
QColor Color::magentaColor()
{
    return colorWithRed(1, 0, 1);
}
QColor Color::orangeColor()
{
    return colorWithRed(1, 0.5, 0);
}
QColor Color::purpleColor()
{
    return colorWithRed(0.5, 0, 0.5);
}
QColor Color::brownColor()
{
    return colorWithRed(0.6, 0.4, 0.2);
}
QColor Color::clearColor()
{
    return QColor::fromRgbF(0, 0, 0, 0);
}
QColor Color::groupTableViewBackgroundColor()
{
    return colorWithRed(0.84, 0.86, 0.9);
}
QColor Color::selectionBlueColor()
{
    return colorWithRed(0.02, 0.45, 0.9);
}

} // namespace ui
