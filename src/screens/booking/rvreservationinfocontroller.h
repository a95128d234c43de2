// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvbooking.h"
#include "models/rvbookingalternatives.h"
#include "screens/booking/rvalternativesoffer.h"
#include "screens/shared/rvscreen.h"
#include "toolkit/button.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewdatasource.h"
#include "toolkit/tableviewdelegate.h"

#include <QPointer>

// The booking confirmation: the saved user's particulars beside the chosen hospital, doctor,
// day and time, and "确认", which books the slot and reports the service's answer. It holds no
// booking of its own: each press makes the booking afresh from what it was handed.
class RVReservationInfoController final : public RVScreen,
                                          public ui::TableViewDataSource,
                                          public ui::TableViewDelegate
{
    Q_OBJECT

public:
    RVReservationInfoController();
    ~RVReservationInfoController() override;

    // The confirmation of a slot, made from the storyboard and handed the doctor, the half-day
    // and the slot. The back-item title is what the bar item beneath takes once this screen has
    // appeared; none leaves that item as it is.
    static std::shared_ptr<RVReservationInfoController>
    instantiateFor(const RVDoctorInfo &doctor, const RVDoctorScheduleInfo &halfDay,
                   const RVDoctorTimeSchedule &slot, const QString &backItemTitle = QString());

    RVDoctorInfo doctorInfo() const { return _doctorInfo; }
    RVDoctorScheduleInfo doctorScheduleInfo() const { return _doctorScheduleInfo; }
    RVDoctorTimeSchedule doctorTimeSchedule() const { return _doctorTimeSchedule; }
    QString backItemTitle() const { return m_backItemTitle; }
    RVUserInfo userInfo() const { return _userInfo; }
    ui::TableView *tableViewInfo() const { return _tableViewInfo; }
    ui::Button *confirmButton() const { return m_confirmButton; }

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    void reservationButtonClicked(ui::Control *sender);
    void reservationFinish(const RVBooking::Outcome &outcome);

    int numberOfSectionsInTableView(ui::TableView *) override { return 1; }
    int numberOfRowsInSection(ui::TableView *, int) override { return 1; }
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *tableView,
                                             const ui::IndexPath &indexPath) override;
    qreal heightForRowAtIndexPath(ui::TableView *, const ui::IndexPath &) override { return 265; }

private:
    // The booking of what the screen was handed and the saved user.
    RVBooking booking() const;
    // This screen gives way to the confirmation of the choice taken from the offer.
    void openChoice(const RVBookingAlternatives::Choice &choice);

    RVDoctorInfo _doctorInfo;
    RVDoctorScheduleInfo _doctorScheduleInfo;
    RVDoctorTimeSchedule _doctorTimeSchedule;
    RVUserInfo _userInfo;
    QString m_backItemTitle;
    QPointer<ui::TableView> _tableViewInfo;
    QPointer<ui::Button> m_confirmButton;
    // Where a booking that lands after the screen was left is told.
    QPointer<ui::View> m_navigationView;
    RVAlternativesOffer m_offer{[this](const auto &choice) { openChoice(choice); }};
};
