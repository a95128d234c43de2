// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"

// The request for the time slots of one schedule.
class RVDoctorDayScheduleRequest : public RVBaseInfo
{
public:
    RV_FIELD(pbid, setPbid)

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;
    static const QStringList &keys();
};
