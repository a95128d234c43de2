// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>

// Where the overlay's box and its content go. It is computed from sizes and texts alone, so
// that the rules (stacking, width limit, minimum size, squaring, offsets) live in one place
// apart from the widgets that follow them.
class ZtProgressHUDLayout final
{
public:
    // Space between two stacked items.
    static constexpr qreal kPadding = 4;

    struct Input {
        QSizeF bounds;          // the overlay, which covers its parent
        QSizeF indicator{0, 0}; // zero when there is no indicator
        QString labelText;
        QFont labelFont;
        QString detailsLabelText;
        QFont detailsLabelFont;
        qreal margin = 20;
        qreal xOffset = 0;
        qreal yOffset = 0;
        QSizeF minSize{0, 0};
        bool square = false;
    };

    static ZtProgressHUDLayout compute(const Input &input);

    // In the overlay's coordinates; an absent item gets an empty rectangle.
    QRectF box;
    QRectF indicator;
    QRectF label;
    QRectF detailsLabel;
};
