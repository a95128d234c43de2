// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

// The versioned schema of the service's store, one schema for SQLite and PostgreSQL: a
// statement is written once where the dialects agree and twice where they do not. The
// version lives in SQLite's user_version, and in the meta table on PostgreSQL. A migration
// takes the database's write lock before it reads the version and keeps it to its last
// statement, all in one transaction: service processes that start together on a new
// database find it either untouched (and one of them creates it) or complete, and a failed
// step leaves the version it started from. A database newer than this program knows is
// refused rather than guessed at.
class RVServiceSchema final
{
public:
    static int currentVersion();
    // The version on the calling connection; -1 when it cannot be read.
    static int version(QSqlDatabase &db);
    // *created says whether the database had no schema before.
    static bool migrate(QSqlDatabase &db, bool *created, QString *error);

private:
    struct Statement {
        QString sql;
        QString postgresql; // empty: the same as sql
    };
    // steps()[i] takes a database from version i to version i + 1.
    static const QList<QList<Statement>> &steps();
    static bool lock(QSqlDatabase &db);
    static bool setVersion(QSqlDatabase &db, int version);
};
