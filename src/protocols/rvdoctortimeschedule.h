// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"

// One time slot of a schedule: its sequence number and time of day.
class RVDoctorTimeSchedule : public RVBaseInfo
{
public:
    RV_FIELD(fzxh, setFzxh)
    RV_FIELD(yysj, setYysj)

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;
    static const QStringList &keys();
};
