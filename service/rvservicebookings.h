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
// back in the same transaction that marks the booking cancelled. On PostgreSQL, where every
// statement is a round trip to the server, a booking and a cancel are each one statement
// inside their transaction, with the same conditions and the same locks in the same order;
// the reasons for a refusal are looked up only when the statement changed nothing.
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
    // Why the slot could not be booked, read after a booking that changed nothing.
    static RVServiceOutcome bookingRefusal(QSqlDatabase &db, const QString &pbid, qint64 fzxh,
                                           qint64 yhid);
    // The booking as one statement (PostgreSQL) or step by step (SQLite, in the process).
    static RVServiceOutcome bookAtOnce(QSqlDatabase &db, const RVServiceAccounts::Caller &caller,
                                       const QString &pbid, qint64 fzxh, const QString &yzhm);
    RVServiceOutcome bookStepByStep(QSqlDatabase &db, const RVServiceAccounts::Caller &caller,
                                    const QString &pbid, qint64 fzxh, const QString &yzhm);
    static RVServiceOutcome cancelAtOnce(QSqlDatabase &db, const RVServiceAccounts::Caller &caller,
                                         const QString &yylsh);
    static RVServiceOutcome cancelStepByStep(QSqlDatabase &db,
                                             const RVServiceAccounts::Caller &caller,
                                             const QString &yylsh);

    RVServiceDatabase &m_database;
};
