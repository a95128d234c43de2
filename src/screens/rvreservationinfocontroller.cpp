// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/rvreservationinfocontroller.h"

#include "components/rvprogress.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvprotocol.h"
#include "screens/rvalert.h"
#include "screens/rvlostanswer.h"
#include "screens/rvnavigationconvention.h"
#include "screens/rvscreenguard.h"
#include "toolkit/button.h"
#include "toolkit/color.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/navigationitem.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"

using namespace Qt::StringLiterals;

namespace
{
const QString reuseIdentifier = u"ResueRegisterInfo"_s;

// Copies a field only when its source holds one: an absent source leaves the key out.
void copyField(RVReservationInfo &record, const QString &key, const QJsonValue &value)
{
    if (!value.isUndefined())
        record.setField(key, value);
}

ui::Label *formLabel(const QRectF &frame, const QString &text)
{
    auto *label = new ui::Label(frame);
    label->setTextAlignment(ui::TextAlignment::Left);
    label->setText(text);
    return label;
}
} // namespace

RVReservationInfoController::RVReservationInfoController() {}

RVReservationInfoController::~RVReservationInfoController() = default;

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
    setNavigationInfo();
    ui::ViewController::viewDidAppear(animated);
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

void RVReservationInfoController::setNavigationInfo()
{
    RVNavigationConvention::setNavigationInfo(this);
}

void RVReservationInfoController::gotMainPage()
{
    RVNavigationConvention::gotMainPage(this);
}

QString RVReservationInfoController::appointmentTime(const RVDoctorScheduleInfo &schedule,
                                                     const RVDoctorTimeSchedule &slot)
{
    return RVBaseInfo::text(schedule.jzrq()) + u' ' + RVBaseInfo::text(slot.yysj()) + u":00"_s;
}

QString RVReservationInfoController::sexLine(int xb)
{
    if (xb == 1)
        return u"性别：男"_s;
    if (xb == 2)
        return u"性别：女"_s;
    return {};
}

RVReservationInfo
RVReservationInfoController::reservationRecord(const RVUserInfo &user, const RVDoctorInfo &doctor,
                                               const RVDoctorScheduleInfo &schedule,
                                               const RVDoctorTimeSchedule &slot)
{
    RVReservationInfo record;
    copyField(record, u"yhid"_s, user.yhid());
    copyField(record, u"hospid"_s, schedule.hospid());
    copyField(record, u"pbid"_s, schedule.pbid());
    copyField(record, u"ysdm"_s, doctor.ysdm());
    copyField(record, u"brxm"_s, user.xm());
    copyField(record, u"sjhm"_s, user.sjhm());
    copyField(record, u"sfzhm"_s, user.sfzhm());
    copyField(record, u"csny"_s, user.csny());
    record.setBrxb(QString::number(user.xb()));
    copyField(record, u"fzxh"_s, slot.fzxh());
    const QString time = appointmentTime(schedule, slot);
    record.setYysj(time);
    copyField(record, u"ksbm"_s, doctor.bzksdm());
    copyField(record, u"bcbm"_s, schedule.bcbm());
    copyField(record, u"lxdz"_s, user.dz());
    record.setJzrq(time);
    record.setYzhm(RVProtocol::reservationCode());
    return record;
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
    ui::Label *heading = formLabel(QRectF(15, 15, 290, 40), u"挂号信息"_s);
    heading->setTextColor(ui::Color::colorWithRed(0.8, 0.1, 0.1, 1));
    cell->addSubview(heading);
    const QString lines[] = {
        u"姓名：%1"_s.arg(RVBaseInfo::text(_userInfo.xm())),
        u"手机号码：%1"_s.arg(RVBaseInfo::text(_userInfo.sjhm())),
        sexLine(_userInfo.xb()),
        u"身份证号：%1"_s.arg(RVBaseInfo::text(_userInfo.sfzhm())),
        u"预约时间：%1"_s.arg(appointmentTime(_doctorScheduleInfo, _doctorTimeSchedule)),
        u"预约医院：%1"_s.arg(RVBaseInfo::text(_doctorInfo.yymc())),
        // The doctor's department as the doctor list knew it, not the doctor's title.
        u"预约科室：%1"_s.arg(RVBaseInfo::text(_doctorInfo.bzksmc())),
        u"预约医生：%1"_s.arg(RVBaseInfo::text(_doctorInfo.ysmc())),
    };
    qreal y = 55;
    for (const QString &line : lines) {
        cell->addSubview(formLabel(QRectF(25, y, 290, 20), line));
        y += 20;
    }
    m_confirmButton = new ui::Button(ui::ButtonType::Custom, QRectF(15, 235, 290, 30));
    m_confirmButton->setBackgroundImage(ui::Image::imageNamed(u"image_view_right_select.png"_s));
    m_confirmButton->setTitle(u"确认"_s);
    m_confirmButton->addTarget([this](ui::Control *sender) { reservationButtonClicked(sender); },
                               ui::ControlEvent::TouchUpInside);
    cell->addSubview(m_confirmButton);
    return cell;
}

void RVReservationInfoController::reservationButtonClicked(ui::Control *)
{
    // The worker gets its own copies; the overlay keeps "确认" from being pressed twice.
    const RVReservationInfo record =
        reservationRecord(_userInfo, _doctorInfo, _doctorScheduleInfo, _doctorTimeSchedule);
    const QString yhid = RVBaseInfo::text(_userInfo.yhid());
    const QString sjhm = RVBaseInfo::text(_userInfo.sjhm());
    if (ui::NavigationController *navigation = navigationController())
        m_navigationView = navigation->view();
    RVProgress::run(
        this, u"预约中"_s, [record, yhid, sjhm] { return reservation(record, yhid, sjhm); },
        [](RVReservationInfoController &self, const ReservationOutcome &outcome) {
            self.reservationFinish(outcome);
        });
}

RVReservationInfoController::ReservationOutcome
RVReservationInfoController::reservation(const RVReservationInfo &record, const QString &yhid,
                                         const QString &sjhm)
{
    RVProtocol protocol;
    ReservationOutcome outcome;
    outcome.ok = protocol.reseration(record);
    outcome.message = protocol.lastErrorMsg();
    // No answer from the service (time-out, dropped connection, cut-short reply): the booking
    // may have been made all the same. Its history is the truth; never guess, never resend.
    if (!outcome.ok && RVLostAnswer::isLost(protocol) && historyHoldsBooking(record, yhid, sjhm)) {
        outcome.ok = true;
        outcome.confirmedByHistory = true;
        outcome.message = u"预约成功"_s;
    }
    return outcome;
}

bool RVReservationInfoController::historyHoldsBooking(const RVReservationInfo &record,
                                                      const QString &yhid, const QString &sjhm)
{
    RVProtocol protocol;
    const auto bookings = protocol.reserationHistoryListWithTime(QVariant(), yhid, sjhm)
                              .value_or(QList<RVReservationInfo>());
    if (!protocol.lastRepuestStats())
        return false;
    const QString pbid = RVBaseInfo::text(record.pbid());
    const QString fzxh = RVBaseInfo::text(record.fzxh());
    return std::any_of(bookings.cbegin(), bookings.cend(), [&](const RVReservationInfo &b) {
        return RVBaseInfo::text(b.yyzt()) == u"0" && RVBaseInfo::text(b.pbid()) == pbid &&
               RVBaseInfo::text(b.fzxh()) == fzxh;
    });
}

void RVReservationInfoController::reservationFinish(const ReservationOutcome &outcome)
{
    // The user may have gone back meanwhile; a screen no longer shown neither alerts nor pops.
    // A booking made all the same is still told, over the navigation view: the patient holds
    // that slot now.
    if (!RVScreenGuard::isOnTop(this)) {
        if (outcome.ok && m_navigationView)
            RVProgress::tipMessage(u"预约成功"_s, m_navigationView);
        return;
    }
    RVAlert::show(outcome.message);
    if (outcome.ok)
        navigationController()->popToRootViewControllerAnimated(true);
}
