// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvhospitalinfo.h"
#include "screens/shared/rvscreen.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewdatasource.h"
#include "toolkit/tableviewdelegate.h"

#include <QPointer>

#include <optional>

// A hospital's long texts in full, each row as high as its text: the honours heading with
// its (still empty) text and the introduction heading with the hospital's introduction. It
// loads nothing; the hospital detail screen hands it the hospital, possibly none.
class RVDetailInfoViewController : public RVScreen,
                                   public ui::TableViewDataSource,
                                   public ui::TableViewDelegate
{
    Q_OBJECT

public:
    RVDetailInfoViewController();
    ~RVDetailInfoViewController() override;

    // The long texts of the hospital handed over, made from the storyboard.
    static std::shared_ptr<RVDetailInfoViewController>
    instantiateFor(const std::optional<RVHospitalInfo> &hospital);

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    int numberOfSectionsInTableView(ui::TableView *) override { return 1; }
    int numberOfRowsInSection(ui::TableView *, int) override { return 4; }
    qreal heightForRowAtIndexPath(ui::TableView *, const ui::IndexPath &indexPath) override;
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *tableView,
                                             const ui::IndexPath &indexPath) override;

    // The height of a text row: the text in the system font of size 14, wrapped at any
    // character within 280 points, plus 5. Empty text measures nothing.
    static qreal textRowHeight(const QString &text);

    ui::TableView *mainTableView() const { return m_mainTableView; }

private:
    QString introduction() const;

    std::optional<RVHospitalInfo> hospitalInfo;
    QPointer<ui::TableView> m_mainTableView;
};
