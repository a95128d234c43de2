// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvdepartmentinfo.h"
#include "screens/shared/rvscreen.h"
#include "screens/shared/rvscreenload.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewdatasource.h"
#include "toolkit/tableviewdelegate.h"

#include <QList>
#include <QPointer>

// Departments in two levels: without a parent it lists the department classes, and a tap
// opens the same screen one level down under the class's name; with a parent it lists the
// departments of that class, and a tap opens their doctors. It works for one hospital or,
// with none handed over, across all hospitals. Each instance is bound to its level and loads
// its list once, when its view loads.
class RVDepartmentListController : public RVScreen,
                                   public ui::TableViewDataSource,
                                   public ui::TableViewDelegate
{
    Q_OBJECT

public:
    // The identifier of the root department, whose children are the classes.
    static inline const QString FIRST_DEPT_ID = QStringLiteral("0");

    using Outcome = RVLoadOutcome<QList<RVDepartmentInfo>>;

    RVDepartmentListController();
    ~RVDepartmentListController() override;

    // One level, made from the storyboard: the classes when the parent is null, else the
    // departments of the class named by the title. A null hospital code lists across all.
    static std::shared_ptr<RVDepartmentListController>
    instantiateFor(const QString &hospitalCode, const QString &parentId = QString(),
                   const QString &titleText = QString());

    QString hospitalCode() const { return hospid; }

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    void loadDeptListSchedules();
    // On a worker: the level's transaction, chosen by the two hand-over values.
    static Outcome fetchDepartments(const QString &hospitalCode, const QString &parentId);
    void loadDeptListSchedulesFinish(const Outcome &outcome);
    void reloadTable();

    int numberOfSectionsInTableView(ui::TableView *) override { return 1; }
    int numberOfRowsInSection(ui::TableView *, int) override { return int(departmentList.size()); }
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *tableView,
                                             const ui::IndexPath &indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView *tableView, const ui::IndexPath &indexPath) override;
    ui::View *viewForFooterInSection(ui::TableView *, int) override;

    ui::TableView *tableView() const { return m_tableView; }
    // What the last load brought, as it was kept.
    Outcome lastLoad() const { return {httpStats, httpErrorMessage, departmentList}; }

private:
    QList<RVDepartmentInfo> departmentList;
    bool httpStats = false;
    QString httpErrorMessage;
    QString hospid;
    // Null while absent: the first level has neither.
    QString parentId;
    QString titleText;
    QPointer<ui::TableView> m_tableView;
};
