// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/booking/rvreservationinfocontroller.h"

#include "components/rvprogress.h"
#include "protocols/rvappconfiginfo.h"
#include "screens/booking/rvbookingfiles.h"
#include "screens/shared/rvalert.h"
#include "toolkit/button.h"
#include "toolkit/color.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/navigationitem.h"
#include "toolkit/storyboard.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"
#include "toolkit/textmetrics.h"

using namespace Qt::StringLiterals;

namespace
{
const QString reuseIdentifier = u"ResueRegisterInfo"_s;

// A line wider than its label (an English caption before an eighteen-digit ID number, a long
// name) is drawn a little smaller rather than cut, down to a size still easily read.
void shrinkToFit(ui::Label *label)
{
    constexpr int kSmallest = 12;
    QFont font = label->font();
    while (font.pixelSize() > kSmallest &&
           ui::TextMetrics::sizeWithFont(label->text(), font).width() > label->frame().width())
        font.setPixelSize(font.pixelSize() - 1);
    label->setFont(font);
}

ui::Label *formLabel(const QRectF &frame, const QString &text)
{
    auto *label = new ui::Label(frame);
    label->setTextAlignment(ui::TextAlignment::Left);
    label->setText(text);
    shrinkToFit(label);
    return label;
}
} // namespace

RVReservationInfoController::RVReservationInfoController() {}

RVReservationInfoController::~RVReservationInfoController() = default;

std::shared_ptr<RVReservationInfoController> RVReservationInfoController::instantiateFor(
    const RVDoctorInfo &doctor, const RVDoctorScheduleInfo &halfDay,
    const RVDoctorTimeSchedule &slot, const QString &backItemTitle)
{
    auto next = RVScreen::fromStoryboard<RVReservationInfoController>(u"registerInfo"_s);
    if (next) {
        next->_doctorScheduleInfo = halfDay;
        next->_doctorInfo = doctor;
        next->_doctorTimeSchedule = slot;
        next->m_backItemTitle = backItemTitle;
    }
    return next;
}

void RVReservationInfoController::loadView()
{
    ui::ViewController::loadView();
    _tableViewInfo = new ui::TableView(view()->bounds());
    _tableViewInfo->registerClass<ui::TableViewCell>(reuseIdentifier);
    view()->addSubview(_tableViewInfo);
}

void RVReservationInfoController::viewDidLoad()
{
    _tableViewInfo->setDataSource(this);
    _tableViewInfo->setDelegate(this);
    _userInfo = RVAppConfigInfo().userInfo();
}

void RVReservationInfoController::viewDidAppear(bool animated)
{
    RVScreen::viewDidAppear(animated);
    // The item beneath is renamed only as the screen that opened this one asked: another
    // screen's title is not this screen's to change.
    ui::NavigationController *navigation = navigationController();
    if (navigation == nullptr || m_backItemTitle.isNull())
        return;
    const auto stack = navigation->viewControllers();
    const bool onTop = stack.size() >= 2 && stack.last().get() == this;
    if (ui::NavigationItem *back = navigation->navigationBar()->backItem(); back && onTop)
        back->setTitle(m_backItemTitle);
}

RVBooking RVReservationInfoController::booking() const
{
    return RVBooking(_userInfo, _doctorInfo, _doctorScheduleInfo, _doctorTimeSchedule);
}

ui::TableViewCell *
RVReservationInfoController::cellForRowAtIndexPath(ui::TableView *tableView,
                                                   const ui::IndexPath &indexPath)
{
    ui::TableViewCell *cell =
        tableView->dequeueReusableCellWithIdentifier(reuseIdentifier, indexPath);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    cell->setBackgroundColor(ui::Color::whiteColor());
    for (ui::View *subview : cell->subviews()) {
        if (qobject_cast<ui::Label *>(subview) != nullptr ||
            qobject_cast<ui::Button *>(subview) != nullptr)
            subview->removeFromSuperview();
    }
    ui::Label *heading = formLabel(QRectF(15, 15, 290, 40), tr("挂号信息"));
    heading->setTextColor(ui::Color::colorWithRed(0.8, 0.1, 0.1, 1));
    cell->addSubview(heading);
    qreal y = 55;
    for (const QString &line : booking().summary()) {
        cell->addSubview(formLabel(QRectF(25, y, 290, 20), line));
        y += 20;
    }
    m_confirmButton = new ui::Button(ui::ButtonType::Custom, QRectF(15, 235, 290, 30));
    m_confirmButton->setBackgroundImage(ui::Image::imageNamed(u"image_view_right_select.png"_s));
    m_confirmButton->setTitle(tr("确认"));
    m_confirmButton->addTarget([this](ui::Control *sender) { reservationButtonClicked(sender); },
                               ui::ControlEvent::TouchUpInside);
    cell->addSubview(m_confirmButton);
    return cell;
}

void RVReservationInfoController::reservationButtonClicked(ui::Control *)
{
    if (ui::NavigationController *navigation = navigationController())
        m_navigationView = navigation->view();
    // The worker gets its own copy; the overlay keeps "确认" from being pressed twice.
    RVProgress::run(
        this, tr("预约中"), [booking = booking()] { return booking.book(); },
        [](RVReservationInfoController &self, const RVBooking::Outcome &outcome) {
            self.reservationFinish(outcome);
        });
}

void RVReservationInfoController::reservationFinish(const RVBooking::Outcome &outcome)
{
    // The user may have gone back meanwhile; a screen no longer shown neither alerts nor pops.
    // A booking made all the same is still told, over the navigation view: the patient holds
    // that slot now.
    if (!isOnTop()) {
        if (outcome.ok && m_navigationView)
            RVAlert::tip(tr("预约成功"), m_navigationView);
        return;
    }
    if (outcome.ok && outcome.calendar && m_navigationView)
        RVBookingFiles::showBookedWithCalendar(outcome.message, m_navigationView,
                                               *outcome.calendar);
    else if (!outcome.alternatives || !m_offer.show(outcome.message, *outcome.alternatives))
        RVAlert::show(outcome.message);
    if (outcome.ok)
        navigationController()->popToRootViewControllerAnimated(true);
}

void RVReservationInfoController::openChoice(const RVBookingAlternatives::Choice &choice)
{
    ui::NavigationController *navigation = navigationController();
    auto next = instantiateFor(choice.doctor, choice.schedule, choice.slot, m_backItemTitle);
    if (navigation == nullptr || !next || !isOnTop())
        return;
    // The refused place is no choice any more: its confirmation is not left to go back to.
    navigation->popViewControllerAnimated(false);
    navigation->pushViewController(next, true);
}
