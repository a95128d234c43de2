// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvwatch.h"
#include "screens/shared/rvscreen.h"
#include "toolkit/label.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewdatasource.h"
#include "toolkit/tableviewdelegate.h"

#include <QList>
#include <QPointer>

// The logged-in user's watches on fully booked half-days, one row each (doctor, day,
// half-day), read afresh from the device each time the screen shows: the poller ends watches
// by itself. A row is removed by a swipe, or by a tap and a confirmation.
class RVWatchListViewController final : public RVScreen,
                                        public ui::TableViewDataSource,
                                        public ui::TableViewDelegate
{
    Q_OBJECT

public:
    RVWatchListViewController();
    ~RVWatchListViewController() override;

    const QList<RVWatch> &watches() const { return m_watches; }
    ui::TableView *tableView() const { return m_tableView; }
    ui::Label *emptyNotice() const { return m_emptyNotice; }

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    int numberOfRowsInSection(ui::TableView *, int) override { return int(m_watches.size()); }
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *tableView,
                                             const ui::IndexPath &indexPath) override;
    bool canEditRowAtIndexPath(ui::TableView *, const ui::IndexPath &) override { return true; }
    void commitEditingStyle(ui::TableView *tableView, ui::TableViewCellEditingStyle style,
                            const ui::IndexPath &indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView *tableView, const ui::IndexPath &indexPath) override;
    qreal heightForRowAtIndexPath(ui::TableView *, const ui::IndexPath &) override { return 56; }
    ui::View *viewForFooterInSection(ui::TableView *tableView, int section) override;

private:
    void load();
    void show(const QList<RVWatch> &watches);
    void remove(const QString &key);

    QList<RVWatch> m_watches;
    QPointer<ui::TableView> m_tableView;
    QPointer<ui::Label> m_emptyNotice;
};
