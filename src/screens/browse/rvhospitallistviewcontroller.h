// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvhospitalinfo.h"
#include "screens/shared/rvscreen.h"
#include "screens/shared/rvscreenload.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewdatasource.h"
#include "toolkit/tableviewdelegate.h"

#include <QList>
#include <QPointer>

// The list of every hospital the service knows, one row of its short name each; a tap opens
// the hospital's detail screen. It owns the hospitals of its last load and fetches them once
// per instance: only while the list is empty, so a failed load is tried again on the next
// appearance and a filled list is never refreshed.
class RVHospitalListViewController : public RVScreen,
                                     public ui::TableViewDataSource,
                                     public ui::TableViewDelegate
{
    Q_OBJECT

public:
    // What one load brings back to the main thread.
    using Outcome = RVLoadOutcome<QList<RVHospitalInfo>>;

    RVHospitalListViewController();
    ~RVHospitalListViewController() override;

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    void loadHosListSchedules();
    // On a worker: asks the service for all hospitals. Touches no screen.
    static Outcome fetchHospitals();
    // On the main thread: keeps the outcome; the load then reloads or alerts.
    void loadHosListScheduledFinish(const Outcome &outcome);
    void reloadTable();

    int numberOfSectionsInTableView(ui::TableView *) override { return 1; }
    int numberOfRowsInSection(ui::TableView *, int) override { return int(hospitalList.size()); }
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *tableView,
                                             const ui::IndexPath &indexPath) override;
    ui::View *viewForFooterInSection(ui::TableView *, int) override;
    void didSelectRowAtIndexPath(ui::TableView *tableView, const ui::IndexPath &indexPath) override;

    ui::TableView *tableView() const { return m_tableView; }
    // What the last load brought, as it was kept.
    Outcome lastLoad() const { return {httpStats, httpErrorMessage, hospitalList}; }

private:
    QList<RVHospitalInfo> hospitalList;
    bool httpStats = false;
    QString httpErrorMessage;
    QPointer<ui::TableView> m_tableView;
};
