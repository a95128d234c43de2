// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "service/rvserviceoutcome.h"

#include <QJsonObject>
#include <QString>

#include <optional>

class QSqlDatabase;
class RVServiceDatabase;
class RVUserInfo;

// The accounts: registration, login with a fresh login key, logout, profile and password.
// A user holds at most one login key: a new login replaces it and logout removes it, so an
// old key stops working at once. Passwords are kept as salted PBKDF2 hashes; the slow hash
// runs outside any database session so that one login does not hold up the store.
class RVServiceAccounts final
{
public:
    // The logged-in user of a transaction, as its login key identifies it.
    struct Caller {
        qint64 yhid = 0;
        QString yhm;
        QString key;
    };

    explicit RVServiceAccounts(RVServiceDatabase &database);

    RVServiceOutcome registerUser(const QJsonObject &body);
    RVServiceOutcome login(const QJsonObject &body);
    // The user of that name with a live login key; nullopt when there is none, or when the
    // store could not say, which *storeFailed then tells apart: a store away is no reason to
    // send a patient back to the login.
    std::optional<Caller> caller(const QString &yhm, bool *storeFailed = nullptr);
    RVServiceOutcome logout(const Caller &caller);
    RVServiceOutcome modifyProfile(const Caller &caller, const QJsonObject &body);
    RVServiceOutcome changePassword(const Caller &caller, const QJsonObject &body);

    // 48 lowercase hexadecimal digits from the cryptographic random source; empty on failure.
    static QString newKey();
    // Checks of the account fields; an empty text means the value is acceptable.
    static QString accountNameProblem(const QString &yhm);
    static QString identityProblem(const QString &sfzhm);
    static QString mobileProblem(const QString &sjhm);

private:
    std::optional<RVUserInfo> userRecord(QSqlDatabase &db, qint64 yhid);
    RVServiceOutcome replyWithUser(qint64 yhid, const QString &message);

    RVServiceDatabase &m_database;
};
