// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/booking/rvreservationtimeelectcontroller.h"

#include "components/rvprogress.h"
#include "protocols/rvappconfiginfo.h"
#include "screens/booking/rvreservationinfocontroller.h"
#include "screens/shared/rvalert.h"
#include "screens/shared/rvclearfooter.h"
#include "toolkit/color.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/storyboard.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"

using namespace Qt::StringLiterals;

namespace
{
const QString reuseIdentifier = u"ResueReservationTimeElect"_s;
} // namespace

RVReservationTimeElectController::RVReservationTimeElectController() {}

RVReservationTimeElectController::~RVReservationTimeElectController() = default;

std::shared_ptr<RVReservationTimeElectController>
RVReservationTimeElectController::instantiateFor(const RVDoctorInfo &doctor,
                                                 const RVDoctorScheduleInfo &halfDay)
{
    auto next = RVScreen::fromStoryboard<RVReservationTimeElectController>(u"registerTimeElect"_s);
    if (next) {
        next->_doctorInfo = doctor;
        next->_doctorScheduleInfo = halfDay;
    }
    return next;
}

void RVReservationTimeElectController::loadView()
{
    ui::ViewController::loadView();
    _tableViewTime = new ui::TableView(view()->bounds());
    _tableViewTime->registerClass<ui::TableViewCell>(reuseIdentifier);
    view()->addSubview(_tableViewTime);
}

void RVReservationTimeElectController::viewDidLoad()
{
    // Named before the push shows the bar, not only once the confirmation renames it.
    setTitle(tr("预约时段选择"));
    _tableViewTime->setDataSource(this);
    _tableViewTime->setDelegate(this);
    _tableViewTime->setSeparatorStyle(ui::TableViewCellSeparatorStyle::SingleLine);
    RVProgress::run(
        this, tr("加载中"),
        [doctor = _doctorInfo, halfDay = _doctorScheduleInfo] {
            return loadDoctorTimeSchedules(doctor, halfDay);
        },
        [](RVReservationTimeElectController &self, const SlotsLoad &load) {
            self.loadDoctorTimeSchedulesFinish(load);
        });
}

RVReservationTimeElectController::SlotsLoad
RVReservationTimeElectController::loadDoctorTimeSchedules(const RVDoctorInfo &doctor,
                                                          const RVDoctorScheduleInfo &halfDay)
{
    SlotsLoad load{RVTimeSlots::load(RVBaseInfo::text(halfDay.pbid())), std::nullopt};
    if (load.slots.httpStats && load.slots.value.isEmpty())
        load.alternatives = RVBookingAlternatives(doctor, halfDay, std::nullopt).search();
    return load;
}

void RVReservationTimeElectController::loadDoctorTimeSchedulesFinish(const SlotsLoad &load)
{
    const SlotsOutcome &outcome = load.slots;
    _timeSchedules = outcome.value;
    if (!_tableViewTime)
        return; // the screen's view went with the navigation stack meanwhile
    _tableViewTime->reloadData();
    if (!isOnTop())
        return;
    // A failed exchange is not a half-day without slots: say why the list is empty.
    if (!outcome.httpStats)
        RVAlert::tip(outcome.httpErrorMessage, view());
    else if (load.alternatives)
        m_offer.show(outcome.httpErrorMessage, *load.alternatives);
}

int RVReservationTimeElectController::numberOfRowsInSection(ui::TableView *, int)
{
    return int(_timeSchedules.size());
}

ui::TableViewCell *
RVReservationTimeElectController::cellForRowAtIndexPath(ui::TableView *tableView,
                                                        const ui::IndexPath &indexPath)
{
    ui::TableViewCell *cell =
        tableView->dequeueReusableCellWithIdentifier(reuseIdentifier, indexPath);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::Gray);
    cell->setBackgroundColor(ui::Color::whiteColor());
    cell->textLabel()->setText(RVBaseInfo::text(_timeSchedules.value(indexPath.row).yysj()));
    return cell;
}

ui::View *RVReservationTimeElectController::viewForFooterInSection(ui::TableView *, int)
{
    return RVClearFooter::make();
}

std::optional<ui::IndexPath>
RVReservationTimeElectController::willSelectRowAtIndexPath(ui::TableView *,
                                                           const ui::IndexPath &indexPath)
{
    if (indexPath.row >= 0 && indexPath.row < _timeSchedules.size())
        openConfirmation({_doctorInfo, _doctorScheduleInfo, _timeSchedules.at(indexPath.row)});
    return indexPath;
}

void RVReservationTimeElectController::openConfirmation(const RVBookingAlternatives::Choice &choice)
{
    if (!RVAppConfigInfo::userLogined()) {
        RVAlert::offerLogin(this);
        return;
    }
    ui::NavigationController *navigation = navigationController();
    auto next = RVReservationInfoController::instantiateFor(choice.doctor, choice.schedule,
                                                            choice.slot, title());
    if (navigation == nullptr || !next || !isOnTop())
        return;
    navigation->pushViewController(next, true);
}
