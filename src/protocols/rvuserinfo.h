// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"

// The user record: what registration and login return and what the configuration saves.
// xb (sex) is an integer: 1 male, 2 female, 0 not set and left out of the body.
class RVUserInfo : public RVBaseInfo
{
public:
    RV_FIELD(yhid, setYhid)
    RV_FIELD(yhm, setYhm)
    RV_FIELD(xm, setXm)
    QJsonValue sfzhm() const { return field(QStringLiteral("sfzhm")); }
    // Also derives the sex and the date of birth from an identity number of 18 characters.
    void setSfzhm(const QJsonValue &value);
    int xb() const { return m_xb; }
    void setXb(int value) { m_xb = value; }
    RV_FIELD(csny, setCsny)
    RV_FIELD(ylkh, setYlkh)
    RV_FIELD(gddh, setGddh)
    RV_FIELD(sjhm, setSjhm)
    RV_FIELD(dz, setDz)
    RV_FIELD(yb, setYb)
    RV_FIELD(dzyx, setDzyx)
    RV_FIELD(gzmy, setGzmy)

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;
    static const QStringList &keys();

private:
    int m_xb = 0;
};

// Read and written exactly as the user record.
using RVUserInfoModificationRequest = RVUserInfo;
using RVUserInfoModificationReply = RVUserInfo;
