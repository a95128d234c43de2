// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvdoctorinforequest.h"

// One doctor: an item of the doctor list and the body of the doctor reply.
class RVDoctorInfo : public RVDoctorInfoRequest
{
public:
    RV_FIELD(yymc, setYymc)
    RV_FIELD(ysmc, setYsmc)
    RV_FIELD(ysxb, setYsxb)
    RV_FIELD(yszc, setYszc)
    RV_FIELD(ysxl, setYsxl)
    RV_FIELD(ysjl, setYsjl)
    RV_FIELD(yszp, setYszp)
    RV_FIELD(ysjs, setYsjs)
    RV_FIELD(scjb, setScjb)
    RV_FIELD(bzksdm, setBzksdm)
    RV_FIELD(bzksmc, setBzksmc)
    RV_FIELD(kysl, setKysl)

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;
    static const QStringList &keys();
};

// Read and written exactly as its parent.
using RVDoctorInfoReply = RVDoctorInfo;
