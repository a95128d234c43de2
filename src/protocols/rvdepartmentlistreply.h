// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvdepartmentinfo.h"
#include "protocols/rvdepartmentlistrequest.h"

#include <QList>

// The department list reply: its departments under "list", in reply order.
class RVDepartmentListReply : public RVDepartmentListRequest
{
public:
    QList<RVDepartmentInfo> deptartments() const { return m_deptartments; }
    void setDeptartments(const QList<RVDepartmentInfo> &value) { m_deptartments = value; }

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;

private:
    QList<RVDepartmentInfo> m_deptartments;
};
