// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

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
// that a booking the service took is never reported as failed nor sent a second time.
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
    // and it keeps the booking made in the user's store. For a worker.
    Outcome book() const;

private:
    RVUserInfo m_user;
    RVDoctorInfo m_doctor;
    RVDoctorScheduleInfo m_schedule;
    RVDoctorTimeSchedule m_slot;
};
