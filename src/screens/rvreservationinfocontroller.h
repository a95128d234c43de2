// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvdoctorinfo.h"
#include "protocols/rvdoctorscheduleinfo.h"
#include "protocols/rvdoctortimeschedule.h"
#include "protocols/rvreservationinfo.h"
#include "protocols/rvuserinfo.h"
#include "toolkit/button.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewdatasource.h"
#include "toolkit/tableviewdelegate.h"
#include "toolkit/viewcontroller.h"

#include <QPointer>

// The booking confirmation: the saved user's particulars beside the chosen hospital, doctor,
// day and time, and "确认", which books the slot and reports the service's answer. It holds no
// booking of its own: each press builds a fresh record from what it was handed and sends it.
// When the exchange ends without a readable answer the booking history decides whether the
// booking was made, so that a booking the service took is never reported as failed.
class RVReservationInfoController final : public ui::ViewController,
                                          public ui::TableViewDataSource,
                                          public ui::TableViewDelegate
{
    Q_OBJECT

public:
    // What the booking exchange brings back to the main thread.
    struct ReservationOutcome {
        bool ok = false;
        QString message;
        // The answer was lost and the booking history showed the booking made.
        bool confirmedByHistory = false;
    };

    RVReservationInfoController();
    ~RVReservationInfoController() override;

    RVDoctorInfo doctorInfo() const { return _doctorInfo; }
    void setDoctorInfo(const RVDoctorInfo &info) { _doctorInfo = info; }
    RVDoctorScheduleInfo doctorScheduleInfo() const { return _doctorScheduleInfo; }
    void setDoctorScheduleInfo(const RVDoctorScheduleInfo &info) { _doctorScheduleInfo = info; }
    RVDoctorTimeSchedule doctorTimeSchedule() const { return _doctorTimeSchedule; }
    void setDoctorTimeSchedule(const RVDoctorTimeSchedule &slot) { _doctorTimeSchedule = slot; }
    // The title the bar item beneath takes once this screen has appeared, handed over by the
    // screen that opens this one; none leaves that item as it is.
    QString backItemTitle() const { return m_backItemTitle; }
    void setBackItemTitle(const QString &title) { m_backItemTitle = title; }
    RVUserInfo userInfo() const { return _userInfo; }
    ui::TableView *tableViewInfo() const { return _tableViewInfo; }
    ui::Button *confirmButton() const { return m_confirmButton; }

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void setNavigationInfo();
    void gotMainPage();

    // The record "确认" sends: exactly the fields a booking needs, nothing else.
    static RVReservationInfo reservationRecord(const RVUserInfo &user, const RVDoctorInfo &doctor,
                                               const RVDoctorScheduleInfo &schedule,
                                               const RVDoctorTimeSchedule &slot);
    // "%@ %@:00" of the half-day's day and the slot's time.
    static QString appointmentTime(const RVDoctorScheduleInfo &schedule,
                                   const RVDoctorTimeSchedule &slot);
    static QString sexLine(int xb);
    void reservationButtonClicked(ui::Control *sender);
    static ReservationOutcome reservation(const RVReservationInfo &record, const QString &yhid,
                                          const QString &sjhm);
    void reservationFinish(const ReservationOutcome &outcome);

    int numberOfSectionsInTableView(ui::TableView *) override { return 1; }
    int numberOfRowsInSection(ui::TableView *, int) override { return 1; }
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *tableView,
                                             const ui::IndexPath &indexPath) override;
    qreal heightForRowAtIndexPath(ui::TableView *, const ui::IndexPath &) override { return 265; }

private:
    static bool historyHoldsBooking(const RVReservationInfo &record, const QString &yhid,
                                    const QString &sjhm);

    RVDoctorInfo _doctorInfo;
    RVDoctorScheduleInfo _doctorScheduleInfo;
    RVDoctorTimeSchedule _doctorTimeSchedule;
    RVUserInfo _userInfo;
    QString m_backItemTitle;
    QPointer<ui::TableView> _tableViewInfo;
    QPointer<ui::Button> m_confirmButton;
    // Where a booking that lands after the screen was left is told.
    QPointer<ui::View> m_navigationView;
};
