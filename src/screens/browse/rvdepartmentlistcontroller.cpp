// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/browse/rvdepartmentlistcontroller.h"

#include "protocols/rvprotocol.h"
#include "screens/browse/rvdoctorlistviewcontroller.h"
#include "screens/shared/rvclearfooter.h"
#include "toolkit/color.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/navigationitem.h"
#include "toolkit/storyboard.h"
#include "toolkit/tableviewcell.h"

using namespace Qt::StringLiterals;

namespace
{
const QString reuseIdentifier = u"ReuseDepartmentListCell"_s;
}

RVDepartmentListController::RVDepartmentListController()
{
    setTitle(tr("科室查询"));
}

RVDepartmentListController::~RVDepartmentListController() = default;

std::shared_ptr<RVDepartmentListController>
RVDepartmentListController::instantiateFor(const QString &hospitalCode, const QString &parentId,
                                           const QString &titleText)
{
    auto next = RVScreen::fromStoryboard<RVDepartmentListController>(u"departmentListMain"_s);
    if (next) {
        next->hospid = hospitalCode;
        next->parentId = parentId;
        next->titleText = titleText;
    }
    return next;
}

void RVDepartmentListController::loadView()
{
    ui::ViewController::loadView();
    view()->setBackgroundColor(ui::Color::colorWithWhite(0.96));
    m_tableView = new ui::TableView(view()->bounds());
    m_tableView->registerClass<ui::TableViewCell>(reuseIdentifier);
    view()->addSubview(m_tableView);
}

void RVDepartmentListController::viewDidLoad()
{
    m_tableView->setDataSource(this);
    m_tableView->setDelegate(this);
    m_tableView->setSeparatorStyle(ui::TableViewCellSeparatorStyle::SingleLine);
    if (departmentList.isEmpty())
        loadDeptListSchedules();
}

void RVDepartmentListController::viewDidAppear(bool animated)
{
    RVScreen::viewDidAppear(animated);
    if (!titleText.isNull())
        navigationItem()->setTitle(titleText);
}

void RVDepartmentListController::loadDeptListSchedules()
{
    const QString hospital = hospid;
    const QString parent = parentId;
    RVScreenLoad::load(
        this, tr("加载中"), [hospital, parent] { return fetchDepartments(hospital, parent); },
        [](RVDepartmentListController &self, const Outcome &outcome) {
            self.loadDeptListSchedulesFinish(outcome);
        },
        [](RVDepartmentListController &self) { self.reloadTable(); });
}

RVDepartmentListController::Outcome
RVDepartmentListController::fetchDepartments(const QString &hospitalCode, const QString &parentId)
{
    RVProtocol client;
    std::optional<QList<RVDepartmentInfo>> list;
    if (parentId.isNull())
        list = client.ClassificationDeptmentList(hospitalCode, FIRST_DEPT_ID);
    else if (hospitalCode.isNull())
        list = client.ClassificationDeptmentList(QString(), parentId);
    else
        list = client.ReservationDepartmentList(hospitalCode, parentId);
    Outcome outcome = Outcome::of(client, list.value_or(QList<RVDepartmentInfo>()));
    outcome.httpStats = outcome.httpStats && list.has_value();
    return outcome;
}

void RVDepartmentListController::loadDeptListSchedulesFinish(const Outcome &outcome)
{
    departmentList = outcome.value;
    httpStats = outcome.httpStats;
    httpErrorMessage = outcome.httpErrorMessage;
}

void RVDepartmentListController::reloadTable()
{
    // The views may have gone with the window while the screen waited for its load.
    if (m_tableView)
        m_tableView->reloadData();
}

ui::TableViewCell *RVDepartmentListController::cellForRowAtIndexPath(ui::TableView *tableView,
                                                                     const ui::IndexPath &indexPath)
{
    ui::TableViewCell *cell =
        tableView->dequeueReusableCellWithIdentifier(reuseIdentifier, indexPath);
    const int row = indexPath.row;
    if (cell->tag() == row + 1)
        return cell;
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::Blue);
    cell->setBackgroundColor(ui::Color::whiteColor());
    cell->setTag(row + 1);
    cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
    cell->textLabel()->setText(RVBaseInfo::text(departmentList.value(row).bzksmc()));
    return cell;
}

void RVDepartmentListController::didSelectRowAtIndexPath(ui::TableView *tableView,
                                                         const ui::IndexPath &indexPath)
{
    const RVDepartmentInfo department = departmentList.value(indexPath.row);
    std::shared_ptr<ui::ViewController> next;
    if (parentId.isNull()) {
        next = instantiateFor(hospid, RVBaseInfo::text(department.deptid()),
                              RVBaseInfo::text(department.bzksmc()));
    } else {
        next = RVDoctorListViewController::instantiateFor(
            hospid, RVBaseInfo::text(department.deptid()), RVBaseInfo::text(department.bzksdm()));
    }
    tableView->deselectRowAtIndexPath(indexPath, true);
    if (next && navigationController() != nullptr)
        navigationController()->pushViewController(next, true);
}

ui::View *RVDepartmentListController::viewForFooterInSection(ui::TableView *, int)
{
    return RVClearFooter::make();
}
