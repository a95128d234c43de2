// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"
#include "protocols/rvdoctorinfo.h"

#include <QList>

// A page of doctors under "list", in reply order.
class RVDoctorListReply : public RVBaseInfo
{
public:
    QList<RVDoctorInfo> doctors() const { return m_doctors; }
    void setDoctors(const QList<RVDoctorInfo> &value) { m_doctors = value; }

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;

private:
    QList<RVDoctorInfo> m_doctors;
};
