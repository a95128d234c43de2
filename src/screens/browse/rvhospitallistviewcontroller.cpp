// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/browse/rvhospitallistviewcontroller.h"

#include "protocols/rvprotocol.h"
#include "screens/browse/rvhospitalinfoviewcontroller.h"
#include "screens/shared/rvclearfooter.h"
#include "toolkit/color.h"
#include "toolkit/font.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/storyboard.h"
#include "toolkit/tableviewcell.h"

using namespace Qt::StringLiterals;

namespace
{
const QString reuseIdentifier = u"ReuseHospitalListCell"_s;
}

RVHospitalListViewController::RVHospitalListViewController()
{
    setTitle(tr("医院查询"));
}

RVHospitalListViewController::~RVHospitalListViewController() = default;

void RVHospitalListViewController::loadView()
{
    ui::ViewController::loadView();
    view()->setBackgroundColor(ui::Color::colorWithWhite(0.96));
    m_tableView = new ui::TableView(view()->bounds());
    m_tableView->registerClass<ui::TableViewCell>(reuseIdentifier);
    view()->addSubview(m_tableView);
}

void RVHospitalListViewController::viewDidLoad()
{
    m_tableView->setDataSource(this);
    m_tableView->setDelegate(this);
    m_tableView->setSeparatorStyle(ui::TableViewCellSeparatorStyle::SingleLine);
}

void RVHospitalListViewController::viewDidAppear(bool animated)
{
    if (hospitalList.isEmpty())
        loadHosListSchedules();
    RVScreen::viewDidAppear(animated);
}

void RVHospitalListViewController::loadHosListSchedules()
{
    RVScreenLoad::load(
        this, tr("加载中"), &fetchHospitals,
        [](RVHospitalListViewController &self, const Outcome &outcome) {
            self.loadHosListScheduledFinish(outcome);
        },
        [](RVHospitalListViewController &self) { self.reloadTable(); });
}

RVHospitalListViewController::Outcome RVHospitalListViewController::fetchHospitals()
{
    RVProtocol client;
    const std::optional<QList<RVHospitalInfo>> list = client.hospitalList(QString());
    Outcome outcome = Outcome::of(client, list.value_or(QList<RVHospitalInfo>()));
    // A reply that could not be read is a failure, whatever the exchange said.
    outcome.httpStats = outcome.httpStats && list.has_value();
    return outcome;
}

void RVHospitalListViewController::loadHosListScheduledFinish(const Outcome &outcome)
{
    hospitalList = outcome.value;
    httpStats = outcome.httpStats;
    httpErrorMessage = outcome.httpErrorMessage;
}

void RVHospitalListViewController::reloadTable()
{
    // The views may have gone with the window while the screen waited for its load.
    if (m_tableView)
        m_tableView->reloadData();
}

ui::TableViewCell *
RVHospitalListViewController::cellForRowAtIndexPath(ui::TableView *tableView,
                                                    const ui::IndexPath &indexPath)
{
    ui::TableViewCell *cell =
        tableView->dequeueReusableCellWithIdentifier(reuseIdentifier, indexPath);
    const int row = indexPath.row;
    // A cell marked with this row's tag already shows this row.
    if (cell->tag() == row + 1)
        return cell;
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::Blue);
    cell->textLabel()->setFont(ui::Font::boldSystemFontOfSize(18));
    cell->textLabel()->setText(RVBaseInfo::text(hospitalList.value(row).yyjc()));
    cell->setTag(row + 1);
    return cell;
}

ui::View *RVHospitalListViewController::viewForFooterInSection(ui::TableView *, int)
{
    return RVClearFooter::make();
}

void RVHospitalListViewController::didSelectRowAtIndexPath(ui::TableView *tableView,
                                                           const ui::IndexPath &indexPath)
{
    auto detail = RVHospitalInfoViewController::instantiateFor(
        RVBaseInfo::text(hospitalList.value(indexPath.row).hospid()));
    tableView->deselectRowAtIndexPath(indexPath, true);
    if (detail && navigationController() != nullptr)
        navigationController()->pushViewController(detail, true);
}
