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

// The booking history: the logged-in user's bookings, one row each, as the device kept them at
// once and then afresh from the service every time the screen is shown; an open booking can be
// swiped away, which cancels it with the service and removes exactly its row, added to a
// calendar, or shown as a pass. When the service cannot be reached the kept bookings stay, with
// the time they were last listed, and nothing can be cancelled.
class RVReservationHistoryListViewController final : public RVScreen,
                                                     public ui::TableViewDataSource,
                                                     public ui::TableViewDelegate
{
    Q_OBJECT

public:
    using HistoryOutcome = RVBookingHistory::Shown;
    using CancelOutcome = RVBookingHistory::CancelOutcome;

    RVReservationHistoryListViewController();
    ~RVReservationHistoryListViewController() override;

    const RVBookingHistory::Bookings &reservationHistorys() const { return m_history.bookings(); }
    ui::TableView *mainTableView() const { return _mainTableView; }
    ui::Label *emptyNotice() const { return m_emptyNotice; }
    ui::Label *offlineLine() const { return m_offlineLine; }

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    void showKept(const HistoryOutcome &kept);
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
    void addBookingButtons(ui::View *content, const QString &yylsh);
    void showEmptyNotice();
    void showOffline(const std::optional<QDateTime> &refreshed);
    void addToCalendar(const QString &yylsh);
    void openPass(const QString &yylsh);
    std::optional<RVReservationInfo> bookingOf(const QString &yylsh) const;

    RVBookingHistory m_history;
    bool _httpStats = false;
    QString _httpErrorMessage;
    QPointer<ui::TableView> _mainTableView;
    QPointer<ui::Label> m_emptyNotice;
    QPointer<ui::Label> m_offlineLine;
    // A list from the service is on its way; what the device kept may show until it comes.
    bool m_awaitingList = false;
};
