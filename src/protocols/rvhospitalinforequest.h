// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"

// The request for one hospital, and the base of every hospital record.
class RVHospitalInfoRequest : public RVBaseInfo
{
public:
    RV_FIELD(hospid, setHospid)
    // The hospital code has no service key: no transaction fills it, screens may hand it on.
    RV_FIELD(yydm, setYydm)

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;
    static const QStringList &keys();
};
