// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvhospitalinfo.h"
#include "screens/shared/rvscreen.h"
#include "screens/shared/rvscreenload.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewdatasource.h"
#include "toolkit/tableviewdelegate.h"

#include <QPointer>

#include <optional>

namespace ui
{
class TableViewCell;
}

// One hospital as a fixed card of seven rows: photo with name and grade, address, telephone,
// the way to the hospital's departments, the way to its long texts (also through the short
// introduction) and the closure notice. It owns the hospital record of its one load, made
// when its view loads; the rows show their fixed texts until the record arrives.
class RVHospitalInfoViewController : public RVScreen,
                                     public ui::TableViewDataSource,
                                     public ui::TableViewDelegate
{
    Q_OBJECT

public:
    using Outcome = RVLoadOutcome<std::optional<RVHospitalInfo>>;
    static constexpr int kRowCount = 7;

    RVHospitalInfoViewController();
    ~RVHospitalInfoViewController() override;

    // The card of one hospital, made from the storyboard and handed the hospital's code.
    static std::shared_ptr<RVHospitalInfoViewController>
    instantiateFor(const QString &hospitalCode);

    QString hospitalCode() const { return hospid; }

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    void loadHosInfoSchedules();
    static Outcome fetchHospital(const QString &hospitalCode);
    void loadHosInfoSchedulesFinish(const Outcome &outcome);
    void reloadCard();

    int numberOfSectionsInTableView(ui::TableView *) override { return 1; }
    int numberOfRowsInSection(ui::TableView *, int) override { return kRowCount; }
    qreal heightForRowAtIndexPath(ui::TableView *, const ui::IndexPath &indexPath) override;
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *tableView,
                                             const ui::IndexPath &indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView *tableView, const ui::IndexPath &indexPath) override;
    ui::View *viewForFooterInSection(ui::TableView *, int) override;

    ui::TableView *mainTableView() const { return m_mainTableView; }
    // What the last load brought, as it was kept.
    Outcome lastLoad() const { return {httpStats, httpErrorMessage, hospitalInfo}; }

private:
    std::optional<RVHospitalInfo> hospitalInfo;
    bool httpStats = false;
    QString httpErrorMessage;
    static void clearCell(ui::TableViewCell *cell);
    void fillHeaderRow(ui::TableViewCell *cell) const;
    void fillAddressRow(ui::TableViewCell *cell) const;
    void fillTelephoneRow(ui::TableViewCell *cell) const;
    void fillEntryRow(ui::TableViewCell *cell, int row) const;
    QString field(QJsonValue (RVHospitalInfo::*getter)() const) const;

    QString hospid;
    QPointer<ui::TableView> m_mainTableView;
};
