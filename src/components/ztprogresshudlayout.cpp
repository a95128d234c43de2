// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/ztprogresshudlayout.h"

#include "toolkit/textmetrics.h"

#include <algorithm>
#include <cmath>

namespace
{

// An absent item (an invalid or empty size) takes no room at all.
QSizeF limitedWidth(QSizeF size, qreal maxWidth)
{
    if (size.isEmpty())
        return {0, 0};
    size.setWidth(std::min(size.width(), maxWidth));
    return size;
}

// The box grows to the minimum size, then becomes square if a square still fits inside the
// overlay with a margin on each side.
QSizeF boxSize(const ZtProgressHUDLayout::Input &in, const QSizeF &content)
{
    QSizeF box(content.width() + 2 * in.margin, content.height() + 2 * in.margin);
    box = box.expandedTo(in.minSize);
    if (in.square) {
        const qreal side = std::max(box.width(), box.height());
        if (side <= in.bounds.width() - 2 * in.margin && side <= in.bounds.height() - 2 * in.margin)
            box = QSizeF(side, side);
    }
    return box;
}

} // namespace

ZtProgressHUDLayout ZtProgressHUDLayout::compute(const Input &in)
{
    const qreal maxWidth = std::max<qreal>(0, in.bounds.width() - 4 * in.margin);
    const QSizeF indicator = limitedWidth(in.indicator, maxWidth);
    const QSizeF label =
        in.labelText.isEmpty()
            ? QSizeF()
            : limitedWidth(ui::TextMetrics::sizeWithFont(in.labelText, in.labelFont), maxWidth);

    // The items above the details: their heights, with the padding between them.
    qreal contentHeight = indicator.height() + label.height();
    if (indicator.height() > 0 && label.height() > 0)
        contentHeight += kPadding;

    QSizeF details;
    if (!in.detailsLabelText.isEmpty()) {
        const qreal remaining =
            std::max<qreal>(0, in.bounds.height() - contentHeight - kPadding - 4 * in.margin);
        details = limitedWidth(
            ui::TextMetrics::sizeWithFont(in.detailsLabelText, in.detailsLabelFont,
                                          QSizeF(maxWidth, remaining), ui::LineBreakMode::WordWrap),
            maxWidth);
    }
    const bool aboveDetails = indicator.height() > 0 || label.height() > 0;
    if (details.height() > 0)
        contentHeight += details.height() + (aboveDetails ? kPadding : 0);
    const qreal contentWidth = std::max({indicator.width(), label.width(), details.width()});

    const QPointF centre(in.bounds.width() / 2 + in.xOffset, in.bounds.height() / 2 + in.yOffset);
    ZtProgressHUDLayout result;
    const QSizeF box = boxSize(in, QSizeF(contentWidth, contentHeight));
    result.box = QRectF(std::round(centre.x() - box.width() / 2),
                        std::round(centre.y() - box.height() / 2), box.width(), box.height());

    // The present items stacked from the top of the content, each centred horizontally.
    qreal y = std::round(centre.y() - contentHeight / 2);
    bool placedAny = false;
    auto place = [&](const QSizeF &size) -> QRectF {
        if (size.height() <= 0)
            return {};
        if (placedAny)
            y += kPadding;
        placedAny = true;
        const QRectF rect(std::round(centre.x() - size.width() / 2), y, size.width(),
                          size.height());
        y += size.height();
        return rect;
    };
    result.indicator = place(indicator);
    result.label = place(label);
    result.detailsLabel = place(details);
    return result;
}
