// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"

// One half-day of consultation; jlzt, bcbm and kyrs are read by their integer value.
class RVDoctorScheduleInfo : public RVBaseInfo
{
public:
    RV_FIELD(hospid, setHospid)
    RV_FIELD(yydm, setYydm)
    RV_FIELD(yylb, setYylb)
    RV_FIELD(jzrq, setJzrq)
    RV_FIELD(cc, setCc)
    RV_FIELD(etbz, setEtbz)
    RV_FIELD(pbid, setPbid)
    RV_FIELD(pblb, setPblb)
    RV_FIELD(bzksdm, setBzksdm)
    RV_FIELD(bzksmc, setBzksmc)
    RV_FIELD(ghf, setGhf)
    RV_FIELD(zlf, setZlf)
    RV_FIELD(ghje, setGhje)
    RV_FIELD(ysdm, setYsdm)
    RV_FIELD(ysmc, setYsmc)
    RV_FIELD(yszc, setYszc)
    RV_FIELD(ysfy, setYsfy)
    RV_FIELD(swyh, setSwyh)
    RV_FIELD(xwyh, setXwyh)
    RV_FIELD(jlzt, setJlzt)
    RV_FIELD(bcbm, setBcbm)
    RV_FIELD(bcmc, setBcmc)
    RV_FIELD(kyrs, setKyrs)

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;
    static const QStringList &keys();
};
