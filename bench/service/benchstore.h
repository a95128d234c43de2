// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class RVServiceDatabase;

// The store of one benchmark configuration: a new SQLite file, or a new database on the
// PostgreSQL server that libpq's environment names (PGHOST, PGPORT, PGUSER, PGPASSWORD, as
// pg_virtualenv sets them). Also reads it directly to check what the clients were told.
class BenchStore final
{
public:
    BenchStore(const QString &location, const QString &shown);
    ~BenchStore();
    static std::unique_ptr<BenchStore> sqlite(const QString &file);
    // A new database named after the prefix and this process; null when no server answers,
    // *error then says why.
    static std::unique_ptr<BenchStore> postgresql(const QString &prefix, QString *error);

    QString location() const { return m_location; }
    QString shown() const { return m_shown; }
    // Half-days from tomorrow on with all their places free, after the services seeded.
    QStringList bookableHalfDays(int count);
    // Slots with more than one live booking; must stay 0.
    int slotsSoldTwice();
    // For each half-day: its open places plus its live bookings make the given number.
    bool placesAddUp(const QStringList &pbids, int places);

private:
    RVServiceDatabase &database();

    QString m_location;
    QString m_shown;
    std::unique_ptr<RVServiceDatabase> m_database;
};
