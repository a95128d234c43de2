// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvbookingalternatives.h"
#include "models/rvtimeslots.h"
#include "protocols/rvdoctorinfo.h"
#include "protocols/rvdoctorscheduleinfo.h"
#include "screens/booking/rvalternativesoffer.h"
#include "screens/shared/rvscreen.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewdatasource.h"
#include "toolkit/tableviewdelegate.h"

#include <QList>
#include <QPointer>

#include <optional>

// The time-slot screen: the slots of one half-day of one doctor, loaded once. A tap on a slot
// leads to the booking confirmation, or, when nobody is logged in, offers the login first.
// It owns the slots of the last load; the doctor and the half-day are handed to it. A half-day
// whose last place went before the screen came offers the nearest open places instead.
class RVReservationTimeElectController final : public RVScreen,
                                               public ui::TableViewDataSource,
                                               public ui::TableViewDelegate
{
    Q_OBJECT

public:
    using SlotsOutcome = RVLoadOutcome<RVTimeSlots::Slots>;
    struct SlotsLoad {
        SlotsOutcome slots;
        // Looked for when the half-day had no slot left.
        std::optional<RVBookingAlternatives::Result> alternatives;
    };

    RVReservationTimeElectController();
    ~RVReservationTimeElectController() override;

    // The time slots of a half-day, made from the storyboard and handed the doctor and the
    // half-day.
    static std::shared_ptr<RVReservationTimeElectController>
    instantiateFor(const RVDoctorInfo &doctor, const RVDoctorScheduleInfo &halfDay);

    RVDoctorInfo doctorInfo() const { return _doctorInfo; }
    RVDoctorScheduleInfo doctorScheduleInfo() const { return _doctorScheduleInfo; }
    const QList<RVDoctorTimeSchedule> &timeSchedules() const { return _timeSchedules; }
    ui::TableView *tableViewTime() const { return _tableViewTime; }

    void loadView() override;
    void viewDidLoad() override;

    void loadDoctorTimeSchedulesFinish(const SlotsLoad &load);

    int numberOfSectionsInTableView(ui::TableView *) override { return 1; }
    int numberOfRowsInSection(ui::TableView *tableView, int section) override;
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *tableView,
                                             const ui::IndexPath &indexPath) override;
    qreal heightForRowAtIndexPath(ui::TableView *, const ui::IndexPath &) override { return 44; }
    ui::View *viewForFooterInSection(ui::TableView *tableView, int section) override;
    std::optional<ui::IndexPath> willSelectRowAtIndexPath(ui::TableView *tableView,
                                                          const ui::IndexPath &indexPath) override;

private:
    static SlotsLoad loadDoctorTimeSchedules(const RVDoctorInfo &doctor,
                                             const RVDoctorScheduleInfo &halfDay);
    // The confirmation of a slot, or the offer to log in first.
    void openConfirmation(const RVBookingAlternatives::Choice &choice);

    RVDoctorInfo _doctorInfo;
    RVDoctorScheduleInfo _doctorScheduleInfo;
    QList<RVDoctorTimeSchedule> _timeSchedules;
    QPointer<ui::TableView> _tableViewTime;
    RVAlternativesOffer m_offer{[this](const auto &choice) { openConfirmation(choice); }};
};
