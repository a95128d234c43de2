// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvschedulegrid.h"
#include "models/rvtimeslots.h"
#include "protocols/rvdoctorinfo.h"
#include "protocols/rvdoctorscheduleinfo.h"
#include "protocols/rvdoctortimeschedule.h"

#include <QList>
#include <QString>

#include <optional>

// The nearest open places when the one the patient chose is gone: other slots of the same
// half-day, nearest in time first; then the doctor's next open half-days, earliest first;
// then colleagues of the same department in the same half-day, those of the same title
// first. The search stops at three choices.
//
// These are requests the user did not tap for, so their number is bounded here, in code:
// one slot list of the lost half-day, one schedule of the doctor, one page of colleagues,
// the schedules of at most four colleagues, and at most four slot lists of other half-days.
// A failed exchange ends the search with what it found so far. For a worker.
class RVBookingAlternatives final
{
public:
    static constexpr int kMaxChoices = 3;
    // Colleagues asked for in the one page of the department's doctors.
    static constexpr int kColleaguePage = 20;
    static constexpr int kMaxColleagueSchedules = 4;
    // Slot lists of half-days other than the lost one (a choice needs a slot).
    static constexpr int kMaxOtherSlotLists = 4;
    static constexpr int kMaxRequests = 1 + 1 + 1 + kMaxColleagueSchedules + kMaxOtherSlotLists;

    struct Choice {
        RVDoctorInfo doctor;
        RVDoctorScheduleInfo schedule;
        RVDoctorTimeSchedule slot;
    };
    struct Result {
        QList<Choice> choices;
        // A failed exchange cut the search short: fewer choices than there may be.
        bool cutShort = false;
        int requests = 0;
    };
    // What a refused booking says is gone: only a gone slot or half-day has alternatives.
    enum class Gone { Nothing, Slot, HalfDay };
    // Lists already read for the refused choice: the search does not ask for them again.
    struct Known {
        std::optional<RVTimeSlots::Slots> lostHalfDaySlots;
        std::optional<RVScheduleGrid::Schedules> doctorSchedule;
    };

    // The lost slot is given when only it went; without one, the whole half-day is gone.
    RVBookingAlternatives(RVDoctorInfo doctor, RVDoctorScheduleInfo halfDay,
                          std::optional<RVDoctorTimeSchedule> lostSlot, Known known = {});

    // What the service's lists show gone after it refused to book a choice: the slot, when its
    // half-day ("B009") no longer lists it but lists others; the half-day, when it lists none
    // and the doctor's schedule ("B008") shows it fully booked. A slot still listed, a half-day
    // stopped or past, or a list that cannot be read tells of another refusal. The refusal's
    // wording plays no part. For a worker.
    // The lists read successfully are handed back in read.
    static Gone goneAfterRefusal(const Choice &refused, Known *read = nullptr);
    // What a choice reads as: the doctor, the day, the half-day and the time.
    static QString describe(const Choice &choice);

    Result search() const;

private:
    RVDoctorInfo m_doctor;
    RVDoctorScheduleInfo m_halfDay;
    std::optional<RVDoctorTimeSchedule> m_lostSlot;
    Known m_known;
};
