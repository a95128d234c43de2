// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvbookinghistory.h"
#include "screens/shared/rvscreen.h"
#include "toolkit/label.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewdatasource.h"
#include "toolkit/tableviewdelegate.h"

#include <QPointer>

// The booking history: the logged-in user's bookings, loaded afresh every time the screen is
// shown, one row each; an open booking can be swiped away, which cancels it with the service
// and removes exactly its row. It shows the booking history of the last load.
class RVReservationHistoryListViewController final : public RVScreen,
                                                     public ui::TableViewDataSource,
                                                     public ui::TableViewDelegate
{
    Q_OBJECT

public:
    using HistoryOutcome = RVLoadOutcome<RVBookingHistory::Bookings>;
    using CancelOutcome = RVBookingHistory::CancelOutcome;

    RVReservationHistoryListViewController();
    ~RVReservationHistoryListViewController() override;

    const RVBookingHistory::Bookings &reservationHistorys() const { return m_history.bookings(); }
    ui::TableView *mainTableView() const { return _mainTableView; }
    ui::Label *emptyNotice() const { return m_emptyNotice; }

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    void finishedLoadData(const HistoryOutcome &outcome);
    void finishedCancel(const CancelOutcome &outcome);

    int numberOfSectionsInTableView(ui::TableView *) override { return 1; }
    int numberOfRowsInSection(ui::TableView *, int) override;
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *tableView,
                                             const ui::IndexPath &indexPath) override;
    bool canEditRowAtIndexPath(ui::TableView *, const ui::IndexPath &indexPath) override;
    void commitEditingStyle(ui::TableView *tableView, ui::TableViewCellEditingStyle style,
                            const ui::IndexPath &indexPath) override;
    qreal heightForRowAtIndexPath(ui::TableView *, const ui::IndexPath &) override { return 100; }
    ui::View *viewForFooterInSection(ui::TableView *tableView, int section) override;

private:
    void fillCell(ui::TableViewCell *cell, const RVReservationInfo &booking);
    void showEmptyNotice();

    RVBookingHistory m_history;
    bool _httpStats = false;
    QString _httpErrorMessage;
    QPointer<ui::TableView> _mainTableView;
    QPointer<ui::Label> m_emptyNotice;
};
