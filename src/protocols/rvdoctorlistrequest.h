// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"

// A page of the doctor list; xssl (count) and dqym (page) travel as JSON numbers.
class RVDoctorListRequest : public RVBaseInfo
{
public:
    RV_FIELD(hospid, setHospid)
    RV_FIELD(deptid, setDeptid)
    RV_FIELD(ksbm, setKsbm)
    RV_FIELD(xssl, setXssl)
    RV_FIELD(dqym, setDqym)
    RV_FIELD(yydm, setYydm)
    RV_FIELD(ghksdm, setGhksdm)
    RV_FIELD(bzksdm, setBzksdm)
    RV_FIELD(bzjbmc, setBzjbmc)
    RV_FIELD(pym, setPym)
    RV_FIELD(page, setPage)

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;
    static const QStringList &keys();
};
