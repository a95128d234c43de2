// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvloadoutcome.h"
#include "protocols/rvdoctortimeschedule.h"

#include <QList>
#include <QString>

// The time slots of one half-day, in the service's order.
namespace RVTimeSlots
{
using Slots = QList<RVDoctorTimeSchedule>;
// The slots of the schedule ("B009"); for a worker. A failed exchange gives no slots and
// says why, which a half-day without slots does not.
RVLoadOutcome<Slots> load(const QString &pbid);
} // namespace RVTimeSlots
