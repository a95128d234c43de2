// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvtimeslots.h"

#include "protocols/rvprotocol.h"

RVLoadOutcome<RVTimeSlots::Slots> RVTimeSlots::load(const QString &pbid)
{
    RVProtocol protocol;
    Slots slots = protocol.doctorDayScheduleForScheduleId(pbid).value_or(Slots());
    return RVLoadOutcome<Slots>::of(protocol, std::move(slots));
}
