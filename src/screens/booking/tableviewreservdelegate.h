// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/tableviewdelegate.h"

// The delegate of the doctor's schedule grid: every row and the header are cellHeight high,
// and the header names the two half-day columns over the date column. A plain object so the
// grid's geometry lives apart from the screen that fills it.
class TableViewReservDelegate final : public ui::TableViewDelegate
{
public:
    explicit TableViewReservDelegate(qreal cellHeight = 40) : cellHeight(cellHeight) {}

    qreal heightForRowAtIndexPath(ui::TableView *tableView,
                                  const ui::IndexPath &indexPath) override;
    qreal heightForHeaderInSection(ui::TableView *tableView, int section) override;
    ui::View *viewForHeaderInSection(ui::TableView *tableView, int section) override;

private:
    qreal cellHeight;
};
