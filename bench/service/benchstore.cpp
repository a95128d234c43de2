// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "benchstore.h"

#include "service/rvservicedatabase.h"

#include <QCoreApplication>
#include <QDate>
#include <QSqlError>

using namespace Qt::StringLiterals;

BenchStore::BenchStore(const QString &location, const QString &shown)
    : m_location(location), m_shown(shown)
{
}

BenchStore::~BenchStore() = default;

std::unique_ptr<BenchStore> BenchStore::sqlite(const QString &file)
{
    return std::make_unique<BenchStore>(file, u"SQLite"_s);
}

std::unique_ptr<BenchStore> BenchStore::postgresql(const QString &prefix, QString *error)
{
    error->clear();
    const QString name = u"%1_%2"_s.arg(prefix).arg(QCoreApplication::applicationPid());
    {
        QSqlDatabase server = QSqlDatabase::addDatabase(u"QPSQL"_s, u"bench-maintenance"_s);
        server.setDatabaseName(u"postgres"_s);
        if (!server.open()) {
            *error = server.lastError().text();
        } else {
            QSqlQuery query(server);
            if (!query.exec(u"CREATE DATABASE "_s + name)) // the benchmark's own name
                *error = query.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(u"bench-maintenance"_s);
    if (!error->isEmpty())
        return nullptr;
    return std::make_unique<BenchStore>(u"postgresql:///"_s + name, u"PostgreSQL"_s);
}

RVServiceDatabase &BenchStore::database()
{
    if (!m_database) {
        m_database = std::make_unique<RVServiceDatabase>(m_location);
        QString error;
        if (!m_database->open(&error))
            qWarning("cannot open the store: %s", qPrintable(error));
    }
    return *m_database;
}

QStringList BenchStore::bookableHalfDays(int count)
{
    auto session = database().session();
    auto query = RVServiceDatabase::exec(
        session.db(),
        u"SELECT pbid FROM schedules WHERE jzrq > ? AND jlzt = 0 AND kyrs = 8 ORDER BY pbid"
        " LIMIT ?"_s,
        {QDate::currentDate().toString(u"yyyy-MM-dd"_s), count});
    QStringList pbids;
    while (query && query->next())
        pbids.append(query->value(0).toString());
    return pbids;
}

int BenchStore::slotsSoldTwice()
{
    auto session = database().session();
    auto query = RVServiceDatabase::exec(
        session.db(), u"SELECT COUNT(*) FROM (SELECT slot FROM bookings WHERE yyzt = '0'"
                      " GROUP BY slot HAVING COUNT(*) > 1) twice"_s);
    return query && query->next() ? query->value(0).toInt() : -1;
}

bool BenchStore::placesAddUp(const QStringList &pbids, int places)
{
    auto session = database().session();
    for (const QString &pbid : pbids) {
        auto query = RVServiceDatabase::exec(
            session.db(),
            u"SELECT s.kyrs + (SELECT COUNT(*) FROM bookings b JOIN slots t ON t.id = b.slot"
            " WHERE t.pbid = s.pbid AND b.yyzt = '0') FROM schedules s WHERE s.pbid = ?"_s,
            {pbid});
        if (!query || !query->next() || query->value(0).toInt() != places)
            return false;
    }
    return true;
}
