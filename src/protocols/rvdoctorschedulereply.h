// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"
#include "protocols/rvdoctorscheduleinfo.h"

#include <QHash>
#include <QList>

// A doctor's schedules grouped by day: the text of jzrq to that day's half-days in reply
// order. Not written back: a schedule reply is never sent.
class RVDoctorScheduleReply : public RVBaseInfo
{
public:
    using Schedules = QHash<QString, QList<RVDoctorScheduleInfo>>;

    Schedules schedules() const { return m_schedules; }
    void setSchedules(const Schedules &value) { m_schedules = value; }

    void bodyWithDictionary(const QJsonObject &body) override;

private:
    Schedules m_schedules;
};
