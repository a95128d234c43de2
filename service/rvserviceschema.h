// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The versioned schema of the service's store. The version lives in SQLite's user_version;
// each step brings the database from one version to the next inside one transaction, so a
// failed step leaves the previous version intact. A database newer than this program knows
// is refused rather than guessed at.
class RVServiceSchema final
{
public:
    static int currentVersion();
    static int version(QSqlDatabase &db);
    static bool migrate(QSqlDatabase &db, QString *error);

private:
    // steps()[i] takes a database from version i to version i + 1.
    static const QList<QStringList> &steps();
};
