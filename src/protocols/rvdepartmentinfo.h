// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"

// One department of a department list.
class RVDepartmentInfo : public RVBaseInfo
{
public:
    RV_FIELD(deptid, setDeptid)
    RV_FIELD(ksfl, setKsfl)
    RV_FIELD(bzksdm, setBzksdm)
    RV_FIELD(bzksmc, setBzksmc)
    RV_FIELD(ksms, setKsms)
    RV_FIELD(hospid, setHospid)
    RV_FIELD(yymc, setYymc)
    RV_FIELD(yyjc, setYyjc)

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;
    static const QStringList &keys();
};
