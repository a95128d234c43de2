// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "service/rvservicethread.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

// The store the service's tests run on: SQLite, or PostgreSQL when RV_TEST_POSTGRESQL is set
// (the *_postgresql tests, which CTest starts under pg_virtualenv), each fresh store then a
// new database on that server. A PostgreSQL run without a server fails with the reason.
namespace ServiceTestBackend
{
inline bool isPostgreSQL()
{
    return qEnvironmentVariableIsSet("RV_TEST_POSTGRESQL");
}

// A new, empty store: the given SQLite location or a new PostgreSQL database; empty with
// *error when none can be made.
inline QString freshLocation(const QString &sqliteLocation, QString *error)
{
    using namespace Qt::StringLiterals;
    if (!isPostgreSQL())
        return sqliteLocation;
    if (!qEnvironmentVariableIsSet("PGPORT") && !qEnvironmentVariableIsSet("PGHOST")) {
        *error = u"a PostgreSQL run needs a server (PGHOST, PGPORT): run it under"
                 " pg_virtualenv, as CTest does"_s;
        return {};
    }
    static std::atomic<int> serial{0};
    const QString name = u"rvtest_%1_%2"_s.arg(QCoreApplication::applicationPid()).arg(++serial);
    {
        QSqlDatabase server = QSqlDatabase::addDatabase(u"QPSQL"_s, name);
        server.setDatabaseName(u"postgres"_s);
        if (!server.open())
            *error = u"cannot reach the PostgreSQL server: "_s + server.lastError().text();
        else if (QSqlQuery create(server); !create.exec(u"CREATE DATABASE "_s + name))
            *error = u"cannot create a database: "_s + create.lastError().text();
    }
    QSqlDatabase::removeDatabase(name);
    return error->isEmpty() ? u"postgresql:///"_s + name : QString();
}

// RVServiceThread's ephemeral options on a fresh store (":memory:" on SQLite).
inline RVServiceOptions options(QString *error)
{
    RVServiceOptions options = RVServiceThread::ephemeralOptions();
    options.databasePath = freshLocation(options.databasePath, error);
    return options;
}
} // namespace ServiceTestBackend
