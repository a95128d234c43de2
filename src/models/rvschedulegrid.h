// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvloadoutcome.h"
#include "protocols/rvdoctorschedulereply.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// A doctor's next two weeks as the doctor detail lays them out: one row a day from today,
// a morning and an afternoon column, and the half-days the doctor works. It decides which
// day a row is, where each half-day goes, what it shows, whether it can be opened, and which
// half-day a button key stands for. Built from the schedules of one load and the day the
// rows start from.
class RVScheduleGrid final
{
public:
    using Schedules = RVDoctorScheduleReply::Schedules;
    enum class Column { None, Morning, Afternoon };
    enum class State {
        Stopped,     // the doctor does not work that half-day (jlzt not 0)
        FullyBooked, // held, but no booking left (kyrs 0)
        Open,
    };
    static constexpr int kDays = 14;

    explicit RVScheduleGrid(const QDate &today, Schedules schedules = {});

    // The doctor's schedules by day ("B008", no schedule identifier); for a worker.
    static RVLoadOutcome<Schedules> load(const QString &hospid, const QString &ysdm);

    QDate day(int row) const { return m_today.addDays(row); }
    // "M.d", as the date column shows it.
    QString dayLabel(int row) const;
    // The row's half-days in the service's order; none for a day without an entry.
    QList<RVDoctorScheduleInfo> schedulesOf(int row) const;
    // The half-day behind a button key, only when it can be opened.
    std::optional<RVDoctorScheduleInfo> halfDayToOpen(const QString &key) const;
    // The half-day behind a button key, only when it is fully booked (it can be watched).
    std::optional<RVDoctorScheduleInfo> halfDayToWatch(const QString &key) const;

    static State stateOf(const RVDoctorScheduleInfo &schedule);
    // The count of open bookings, shown on the button unless the half-day is stopped.
    static QString title(const RVDoctorScheduleInfo &schedule);
    static Column columnOf(const RVDoctorScheduleInfo &schedule);
    // "上午" or "下午" for a shift code (bcbm), as the texts that name a half-day show it; empty
    // for another code.
    static QString shiftText(const QJsonValue &bcbm);
    // "M月d日" in the language's own pattern ("MMM d" in English).
    static QString dayText(const QDate &day);
    // The key of a half-day button: shift code, a zero, then the row ("%d0%d").
    static QString buttonKey(long long shift, int row);
    static QString buttonKey(const RVDoctorScheduleInfo &schedule, int row);

private:
    std::optional<RVDoctorScheduleInfo> halfDayIn(const QString &key, State state) const;

    QDate m_today;
    Schedules m_schedules;
    QHash<QString, RVDoctorScheduleInfo> m_byKey;
};
