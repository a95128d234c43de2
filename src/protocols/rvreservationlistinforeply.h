// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"
#include "protocols/rvreservationinfo.h"

#include <QList>

// The booking history under "list", in reply order; the booking reply is read with it too.
class RVReservationListInfoReply : public RVBaseInfo
{
public:
    QList<RVReservationInfo> reservations() const { return m_reservations; }
    void setReservations(const QList<RVReservationInfo> &value) { m_reservations = value; }

    void bodyWithDictionary(const QJsonObject &body) override;
    QJsonObject body_dict() const override;

private:
    QList<RVReservationInfo> m_reservations;
};
