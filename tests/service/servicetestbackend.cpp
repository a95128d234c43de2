// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "servicetestbackend.h"

#include "service/rvservicethread.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

using namespace Qt::StringLiterals;

bool ServiceTestBackend::isPostgreSQL()
{
    return qEnvironmentVariableIsSet("RV_TEST_POSTGRESQL");
}

QString ServiceTestBackend::freshLocation(const QString &sqliteLocation, QString *error)
{
    if (!isPostgreSQL())
        return sqliteLocation;
    if (!qEnvironmentVariableIsSet("PGPORT") && !qEnvironmentVariableIsSet("PGHOST")) {
        *error = u"this run is on PostgreSQL but names no server (PGHOST, PGPORT): run it"
                 " under pg_virtualenv, as CTest does"_s;
        return {};
    }
    static std::atomic<int> serial{0};
    const QString name = u"rvtest_%1_%2"_s.arg(QCoreApplication::applicationPid()).arg(++serial);
    const QString connection = u"rv-test-maintenance-"_s + name;
    {
        QSqlDatabase server = QSqlDatabase::addDatabase(u"QPSQL"_s, connection);
        server.setDatabaseName(u"postgres"_s);
        if (!server.open()) {
            *error = u"cannot reach the PostgreSQL server: "_s + server.lastError().text();
        } else {
            QSqlQuery create(server);
            if (!create.exec(u"CREATE DATABASE "_s + name)) // the name is ours, never input
                *error = u"cannot create a database: "_s + create.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return error->isEmpty() ? u"postgresql:///"_s + name : QString();
}

RVServiceOptions ServiceTestBackend::options(QString *error)
{
    RVServiceOptions options = RVServiceThread::ephemeralOptions();
    options.databasePath = freshLocation(options.databasePath, error);
    return options;
}
