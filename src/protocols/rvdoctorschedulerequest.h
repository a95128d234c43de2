// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvdoctorinforequest.h"

// The request for a doctor's schedules.
class RVDoctorScheduleRequest : public RVDoctorInfoRequest
{
public:
    RV_FIELD(pblsh, setPblsh)

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;
    static const QStringList &keys();
};
