// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"

// The login request. Each time its body is written it describes the device under the keys
// "self.xtmc" (model names and system name) and "self.bbh" (system version).
class RVUserLogin : public RVBaseInfo
{
public:
    RV_FIELD(yhm, setYhm)
    RV_FIELD(mm, setMm)
    QString xtmc() const { return m_xtmc; }
    QString bbh() const { return m_bbh; }

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;

private:
    mutable QString m_xtmc;
    mutable QString m_bbh;
};
