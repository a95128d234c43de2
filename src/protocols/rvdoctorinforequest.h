// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"

// The request for one doctor, and the base of the doctor record and the schedule request.
class RVDoctorInfoRequest : public RVBaseInfo
{
public:
    RV_FIELD(yydm, setYydm)
    RV_FIELD(pbid, setPbid)
    RV_FIELD(hospid, setHospid)
    RV_FIELD(ysdm, setYsdm)

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;
    static const QStringList &keys();
};
