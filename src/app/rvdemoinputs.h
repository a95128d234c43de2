// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvdoctorinfo.h"
#include "protocols/rvdoctorscheduleinfo.h"
#include "protocols/rvdoctortimeschedule.h"
#include "protocols/rvhospitalinfo.h"

#include <QDate>

#include <optional>

// What a screen opened by identifier for a picture is handed, asked from the service the way
// the screens before it would have found it: the first hospital of the list, the first doctor
// of the unfiltered list with a half-day still open from tomorrow on (tomorrow, so that a
// picture taken late in the day still finds one), and that half-day's first free slot. Each
// is none when the service has none.
struct RVDemoInputs {
    std::optional<RVHospitalInfo> hospital;
    std::optional<RVDoctorInfo> doctor;
    int doctorRow = -1; // in the first page of the unfiltered doctor list
    std::optional<RVDoctorScheduleInfo> schedule;
    std::optional<RVDoctorTimeSchedule> slot;

    // Blocks on the service; days of the schedules count from today.
    static RVDemoInputs fetch(const QDate &today);

    // The demo data's account, which the stand-in service seeds into every new database.
    static QString demoAccountName();
    static QString demoAccountPassword();
};
