// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"

// The cancel request: the user and the booking's serial number.
class RVRemoveReservationRequest : public RVBaseInfo
{
public:
    RV_FIELD(yhid, setYhid)
    RV_FIELD(yylsh, setYylsh)

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;
    static const QStringList &keys();
};
