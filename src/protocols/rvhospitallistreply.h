// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"
#include "protocols/rvhospitalinfo.h"

#include <QList>

// The hospital list reply: its hospitals under "list", in reply order.
class RVHospitalListReply : public RVBaseInfo
{
public:
    QList<RVHospitalInfo> hospitalList() const { return m_hospitalList; }
    void setHospitalList(const QList<RVHospitalInfo> &value) { m_hospitalList = value; }

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;

private:
    QList<RVHospitalInfo> m_hospitalList;
};
