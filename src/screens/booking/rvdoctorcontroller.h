// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvschedulegrid.h"
#include "models/rvwatch.h"
#include "protocols/rvdoctorinfo.h"
#include "screens/booking/tableviewreservdelegate.h"
#include "screens/shared/rvscreen.h"
#include "toolkit/button.h"
#include "toolkit/image.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewdatasource.h"
#include "toolkit/tableviewdelegate.h"

#include <QDate>
#include <QPointer>
#include <QSet>

#include <functional>
#include <memory>

// The doctor detail screen: the doctor's row as the list showed it, and a grid of the next 14
// days with a morning and an afternoon column, laid out as the schedule grid of the last load
// says; an open half-day leads on to the choice of a time slot, and a fully booked one can be
// watched for a place that comes free (marked while watched). Today's date comes from an
// injectable clock.
class RVDoctorController final : public RVScreen,
                                 public ui::TableViewDataSource,
                                 public ui::TableViewDelegate
{
    Q_OBJECT

public:
    using ScheduleOutcome = RVLoadOutcome<RVScheduleGrid::Schedules>;

    RVDoctorController();
    ~RVDoctorController() override;

    // The detail of a doctor, made from the storyboard and handed the doctor and the list row
    // as it looked at the tap, which it shows as its top row.
    static std::shared_ptr<RVDoctorController> instantiateFor(const RVDoctorInfo &doctor,
                                                              const ui::Image &doctorInfoCell);

    RVDoctorInfo doctorInfo() const { return _doctorInfo; }
    const ui::Image &doctorInfoCell() const { return _doctorInfoCell; }
    // Today's date for the grid; the system date unless a test sets another.
    void setClock(std::function<QDate()> clock) { m_clock = std::move(clock); }
    QDate today() const { return m_clock(); }

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    void loadDoctorSchedulesFinish(const ScheduleOutcome &outcome);
    void reservationButtonClicked(ui::Control *sender);

    int numberOfSectionsInTableView(ui::TableView *) override { return 1; }
    int numberOfRowsInSection(ui::TableView *tableView, int section) override;
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *tableView,
                                             const ui::IndexPath &indexPath) override;
    qreal heightForRowAtIndexPath(ui::TableView *tableView,
                                  const ui::IndexPath &indexPath) override;

    const RVScheduleGrid &grid() const { return m_grid; }
    bool isWatched(const RVDoctorScheduleInfo &schedule) const;
    bool httpStats() const { return _httpStats; }
    ui::TableView *tableViewBaseInfo() const { return _tableViewBaseInfo; }
    ui::TableView *tableViewReservInfo() const { return _tableViewReservInfo; }

private:
    ui::TableViewCell *gridCell(ui::TableView *tableView, const ui::IndexPath &indexPath);
    void addScheduleButton(ui::TableViewCell *cell, const RVDoctorScheduleInfo &schedule, int row,
                           ui::View *morning, ui::View *afternoon);
    // The watches are the logged-in user's, read afresh each time the screen shows.
    void loadWatched();
    void offerWatch(const RVDoctorScheduleInfo &schedule);
    void finishedWatch(const QString &key, RVWatch::Added added);

    RVDoctorInfo _doctorInfo;
    ui::Image _doctorInfoCell;
    RVScheduleGrid m_grid{QDate()};
    qreal cellHeight = 40;
    bool _httpStats = false;
    QString _httpErrorMessage;
    std::unique_ptr<TableViewReservDelegate> _delegate;
    QPointer<ui::TableView> _tableViewBaseInfo;
    QPointer<ui::TableView> _tableViewReservInfo;
    std::function<QDate()> m_clock;
    QSet<QString> m_watched;
};
