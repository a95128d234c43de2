// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvdoctorscheduleinfo.h"

#include <QCoreApplication>
#include <QDate>
#include <QString>

// What a half-day button of the doctor detail is called to a screen reader: the day, morning
// or afternoon, its state, and how many bookings are left ("12月8日 上午 预约 余5"). The grid
// shows the day and the half in its row and column headers, which a reader walking the
// buttons never hears; the name carries them.
class RVHalfDayName final
{
    Q_DECLARE_TR_FUNCTIONS(RVHalfDayName)

public:
    RVHalfDayName() = delete;

    static QString of(const QDate &day, const RVDoctorScheduleInfo &schedule);
};
