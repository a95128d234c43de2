// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"

// One booking: the body of the booking request and an item of the booking history.
class RVReservationInfo : public RVBaseInfo
{
public:
    RV_FIELD(yzhm, setYzhm)
    RV_FIELD(brxb, setBrxb)
    RV_FIELD(xm, setXm)
    RV_FIELD(userid, setUserid)
    RV_FIELD(yhid, setYhid)
    RV_FIELD(hospid, setHospid)
    RV_FIELD(brxm, setBrxm)
    RV_FIELD(sfzhm, setSfzhm)
    RV_FIELD(xb, setXb)
    RV_FIELD(csny, setCsny)
    RV_FIELD(ylkh, setYlkh)
    RV_FIELD(sjhm, setSjhm)
    RV_FIELD(yydm, setYydm)
    RV_FIELD(pbid, setPbid)
    RV_FIELD(yylb, setYylb)
    RV_FIELD(jzrq, setJzrq)
    RV_FIELD(etbz, setEtbz)
    RV_FIELD(cc, setCc)
    RV_FIELD(bzksdm, setBzksdm)
    RV_FIELD(ysdm, setYsdm)
    RV_FIELD(yyid, setYyid)
    RV_FIELD(yysj, setYysj)
    RV_FIELD(yymc, setYymc)
    RV_FIELD(bzksmc, setBzksmc)
    RV_FIELD(ysmc, setYsmc)
    RV_FIELD(fzxh, setFzxh)
    RV_FIELD(yyzt, setYyzt)
    RV_FIELD(yylsh, setYylsh)
    RV_FIELD(bcbm, setBcbm)
    RV_FIELD(ksbm, setKsbm)
    RV_FIELD(lxdz, setLxdz)
    RV_FIELD(yyzh, setYyzh)

    // Whether the booking may still be cancelled. Status texts compare exactly: only the
    // text "0" is an open booking (not a number, not "00").
    bool isOpen() const;

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;
    static const QStringList &keys();
};

// Read and written exactly as its parent.
using RVReservationRequest = RVReservationInfo;
