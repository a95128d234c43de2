// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"

// The booking history request. The service expects "sjhm" always, so an absent number
// travels as the empty text.
class RVReservationListInfoRequest : public RVBaseInfo
{
public:
    RV_FIELD(yhid, setYhid)
    RV_FIELD(sjhm, setSjhm)

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;
};
