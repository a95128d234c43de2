// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvhospitalinforequest.h"

// One hospital: an item of the hospital list and the body of the hospital reply.
class RVHospitalInfo : public RVHospitalInfoRequest
{
public:
    RV_FIELD(yymc, setYymc)
    RV_FIELD(yyjc, setYyjc)
    RV_FIELD(yydj, setYydj)
    RV_FIELD(yyjs, setYyjs)
    RV_FIELD(yydz, setYydz)
    RV_FIELD(wd, setWd)
    RV_FIELD(jd, setJd)
    RV_FIELD(yydh, setYydh)
    RV_FIELD(bz, setBz)

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;
    static const QStringList &keys();
};

// Read and written exactly as its parent.
using RVHospitalInfoReply = RVHospitalInfo;
