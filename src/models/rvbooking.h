// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvbookingalternatives.h"
#include "models/rvbookingcalendar.h"
#include "models/rvuserstore.h"
#include "protocols/rvdoctorinfo.h"
#include "protocols/rvdoctorscheduleinfo.h"
#include "protocols/rvdoctortimeschedule.h"
#include "protocols/rvreservationinfo.h"
#include "protocols/rvuserinfo.h"

#include <QString>
#include <QStringList>

#include <optional>

// One booking about to be made: the user, the doctor, the half-day and the slot the user
// chose. It builds the record that is sent, the lines the confirmation shows, and books: when
// the answer to the booking is lost, the booking history decides whether it was made, so
// that a booking the service took is never reported as failed nor sent a second time. When
// the service refuses because the place is gone, it looks for the nearest open others.
class RVBooking final
{
public:
    struct Outcome {
        bool ok = false;
        QString message;
        // The answer was lost and the booking history showed the booking made.
        bool confirmedByHistory = false;
        // The booking as the service lists it (with its serial number), when the list could
        // be read after it.
        std::optional<RVReservationInfo> booking;
        // The booking made, with its hospital, for a calendar entry.
        std::optional<RVBookingCalendar::Entry> calendar;
        // What a refusal left gone, as the service's lists read after it show.
        RVBookingAlternatives::Gone gone = RVBookingAlternatives::Gone::Nothing;
        // The nearest open places, when the slot or its half-day is gone.
        std::optional<RVBookingAlternatives::Result> alternatives;
    };

    RVBooking(RVUserInfo user, RVDoctorInfo doctor, RVDoctorScheduleInfo schedule,
              RVDoctorTimeSchedule slot);

    // The record "确认" sends: exactly the fields a booking needs, nothing else.
    RVReservationInfo record() const;
    // "%@ %@:00" of the half-day's day and the slot's time.
    QString appointmentTime() const;
    // The particulars the confirmation lists under its heading, one line each.
    QStringList summary() const;
    static QString sexLine(int xb);

    // Sends the booking ("C001"), then reads the history ("C002"): it settles a lost answer,
    // and it keeps the booking made in the user's store. A refusal is followed by what the
    // service's lists say is gone and, for a gone place, by the search for others. For a worker.
    Outcome book() const;

private:
    RVBookingAlternatives::Choice choice() const { return {m_doctor, m_schedule, m_slot}; }
    void lookForOthers(Outcome &outcome) const;

    RVUserInfo m_user;
    // Taken with the booking, so that a logout while it is sent keeps the store deleted.
    RVUserStore m_store;
    RVDoctorInfo m_doctor;
    RVDoctorScheduleInfo m_schedule;
    RVDoctorTimeSchedule m_slot;
};
