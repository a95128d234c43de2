// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvreservationinfo.h"
#include "toolkit/label.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewdatasource.h"
#include "toolkit/tableviewdelegate.h"
#include "toolkit/viewcontroller.h"

#include <QList>
#include <QPointer>

// The booking history: the logged-in user's bookings, loaded afresh every time the screen is
// shown, one row each; an open booking ("0") can be swiped away, which cancels it with the
// service and removes exactly its row. It owns the bookings of the last load.
class RVReservationHistoryListViewController final : public ui::ViewController,
                                                     public ui::TableViewDataSource,
                                                     public ui::TableViewDelegate
{
    Q_OBJECT

public:
    // What the list load brings back to the main thread.
    struct HistoryOutcome {
        QList<RVReservationInfo> reservationHistorys;
        bool httpStats = false;
        QString httpErrorMessage;
    };
    // What a cancel brings back: the booking it was for, and the service's answer.
    struct CancelOutcome {
        QString yylsh;
        bool ok = false;
        QString message;
    };

    RVReservationHistoryListViewController();
    ~RVReservationHistoryListViewController() override;

    const QList<RVReservationInfo> &reservationHistorys() const { return _reservationHistorys; }
    ui::TableView *mainTableView() const { return _mainTableView; }
    ui::Label *emptyNotice() const { return m_emptyNotice; }
    static bool isOpen(const RVReservationInfo &booking);

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void setNavigationInfo();
    void gotMainPage();

    static HistoryOutcome loadData(const QString &yhid, const QString &sjhm);
    void finishedLoadData(const HistoryOutcome &outcome);
    // Cancels with C005; when the answer is lost, the history tells whether it was done.
    static CancelOutcome cancelReservation(const QString &yhid, const QString &sjhm,
                                           const QString &yylsh);
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
    static bool historyShowsCancelled(const QString &yhid, const QString &sjhm,
                                      const QString &yylsh);

    QList<RVReservationInfo> _reservationHistorys;
    bool _httpStats = false;
    QString _httpErrorMessage;
    QPointer<ui::TableView> _mainTableView;
    QPointer<ui::Label> m_emptyNotice;
};
