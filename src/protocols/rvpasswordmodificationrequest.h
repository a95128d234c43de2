// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"

// The password change: the user, the old password (yymm) and the new one (mm).
class RVPasswordModificationRequest : public RVBaseInfo
{
public:
    RV_FIELD(yhid, setYhid)
    RV_FIELD(yymm, setYymm)
    RV_FIELD(mm, setMm)

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;
    static const QStringList &keys();
};
