// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/booking/tableviewreservdelegate.h"

#include "toolkit/color.h"
#include "toolkit/label.h"

using namespace Qt::StringLiterals;

qreal TableViewReservDelegate::heightForRowAtIndexPath(ui::TableView *, const ui::IndexPath &)
{
    return cellHeight;
}

qreal TableViewReservDelegate::heightForHeaderInSection(ui::TableView *, int)
{
    return cellHeight;
}

ui::View *TableViewReservDelegate::viewForHeaderInSection(ui::TableView *, int)
{
    // One point lower than the reported header height, so a hairline shows under it.
    const qreal height = cellHeight - 1;
    auto *header = new ui::View(QRectF(0, 0, 320, height));
    const struct {
        qreal x;
        qreal width;
        QString text;
    } columns[] = {{0.5, 70, QString()}, {70.5, 125, u"上午"_s}, {195.5, 125, u"下午"_s}};
    for (const auto &column : columns) {
        auto *label = new ui::Label(QRectF(column.x, 0, column.width, height));
        label->setBackgroundColor(ui::Color::colorWithWhite(0.9, 1.0));
        label->setTextAlignment(ui::TextAlignment::Center);
        label->setText(column.text);
        header->addSubview(label);
    }
    return header;
}
