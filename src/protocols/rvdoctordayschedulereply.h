// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"
#include "protocols/rvdoctortimeschedule.h"

#include <QList>

// The time slots of one schedule under "list", in reply order.
class RVDoctorDayScheduleReply : public RVBaseInfo
{
public:
    QList<RVDoctorTimeSchedule> timeSchedule() const { return m_timeSchedule; }
    void setTimeSchedule(const QList<RVDoctorTimeSchedule> &value) { m_timeSchedule = value; }

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;

private:
    QList<RVDoctorTimeSchedule> m_timeSchedule;
};
