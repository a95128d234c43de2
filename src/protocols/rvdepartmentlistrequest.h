// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"

// The request of both department list levels.
class RVDepartmentListRequest : public RVBaseInfo
{
public:
    RV_FIELD(bzksdm, setBzksdm)
    RV_FIELD(hospid, setHospid)
    RV_FIELD(deptid, setDeptid)

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;
    static const QStringList &keys();
};
