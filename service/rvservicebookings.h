// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "service/rvserviceaccounts.h"
#include "service/rvserviceoutcome.h"

#include <QJsonObject>

class QSqlDatabase;
class RVServiceDatabase;

// A patient's bookings: book a time slot, list them, cancel one. Booking is one write
// transaction: the half-day's open places go down by one only while it is held and has places
// left, and the slot is sold at most once (a unique index over live bookings), so two
// concurrent bookings of the last place give exactly one success. A cancel gives the place
// back in the same transaction that marks the booking cancelled.
class RVServiceBookings final
{
public:
    explicit RVServiceBookings(RVServiceDatabase &database);

    RVServiceOutcome book(const RVServiceAccounts::Caller &caller, const QJsonObject &body);
    RVServiceOutcome list(const RVServiceAccounts::Caller &caller, const QJsonObject &body);
    RVServiceOutcome cancel(const RVServiceAccounts::Caller &caller, const QJsonObject &body);

    // Status of a live booking; a cancelled one has "1".
    static QString liveStatus() { return QStringLiteral("0"); }
    static QString cancelledStatus() { return QStringLiteral("1"); }

private:
    // The user's bookings, newest first (only one when onlyId is not 0), as a "list" body.
    QJsonObject bookingsOf(QSqlDatabase &db, qint64 yhid, qint64 onlyId, bool *ok);

    RVServiceDatabase &m_database;
};
