// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"

// The hospital list request; only the name is ever set.
class RVHospitalListRequest : public RVBaseInfo
{
public:
    RV_FIELD(yymc, setYymc)
    RV_FIELD(yydj, setYydj)
    RV_FIELD(jd, setJd)
    RV_FIELD(wd, setWd)

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;
    static const QStringList &keys();
};
