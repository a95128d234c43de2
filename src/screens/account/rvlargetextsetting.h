// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/tableviewdatasource.h"
#include "toolkit/tableviewdelegate.h"

#include <QCoreApplication>
#include <QList>
#include <QPointer>
#include <QRectF>

namespace ui
{
class TableView;
}

// The large-text row of the personal centre: "大字模式" with the kept factor, which offers
// the factors in an alert and keeps the one chosen (platform::InterfaceScale). Qt takes the
// window's scale once, as the application starts, and offers no way to change it under a
// running window; so the new size shows from the next start, and the user is told so. Its own
// table and roles, so that the account's tables stay as they are.
class RVLargeTextSetting final : public ui::TableViewDataSource, public ui::TableViewDelegate
{
    Q_DECLARE_TR_FUNCTIONS(RVLargeTextSetting)

public:
    RVLargeTextSetting() = default;

    // The factors offered, smallest first.
    static const QList<double> &choices();
    // "1.5倍"
    static QString factorText(double factor);

    // The row's table at a frame in the screen; made once, owned by the view it is added to.
    ui::TableView *makeTable(const QRectF &frame);
    // Keeps a factor and tells the user when it shows; false when it could not be kept.
    bool choose(double factor);

    int numberOfRowsInSection(ui::TableView *, int) override { return 1; }
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *tableView,
                                             const ui::IndexPath &indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView *tableView, const ui::IndexPath &indexPath) override;

private:
    QPointer<ui::TableView> m_table;
};
