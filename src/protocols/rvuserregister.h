// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvuserinfo.h"

// The registration request: the user keys without the service-made ones (yhid, gzmy), plus the
// chosen password.
class RVUserRegister : public RVUserInfo
{
public:
    RV_FIELD(mm, setMm)

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;
};
