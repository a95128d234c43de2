// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class RVServiceDatabase;

// The database side of a release-time rush, straight on the store the services use: picks the
// next week's half-days of as many doctors as the places need, holds their places back until
// the moment and releases them then in one transaction, the way a hospital's own system puts
// a week on sale; writes the patients' accounts beforehand (registering thousands through
// the service would spend minutes in password hashing that a rush never sees); and reads back
// afterwards what was really sold.
class BenchRushStore final
{
public:
    struct Account {
        QString yhm;
        QString yhid;
        QString key;
    };
    struct HalfDay {
        QString pbid;
        QString ysdm;
        int bcbm = 1;
        int places = 0; // released at the moment
    };
    // What the store holds after the rush.
    struct Sold {
        int bookings = 0;     // live bookings of the released half-days
        int left = 0;         // places still open in them
        int soldTwice = -1;   // slots holding more than one live booking
        QList<int> perClient; // clients with 0, 1, 2, ... live bookings
    };

    explicit BenchRushStore(const QString &location);
    ~BenchRushStore();

    // Picks and holds back the half-days of `places` places and writes `clients` accounts;
    // false with *error when the store cannot give them.
    bool prepare(int places, int clients, QString *error);
    // Releases every held place in one transaction; false when it did not commit.
    bool release();
    Sold sold();

    const QList<HalfDay> &halfDays() const { return m_halfDays; }
    const QList<Account> &accounts() const { return m_accounts; }

private:
    bool pickHalfDays(int places, QString *error);
    bool writeAccounts(int clients, QString *error);
    QString pbidList() const; // the bound-value marks for every picked half-day

    std::unique_ptr<RVServiceDatabase> m_database;
    QList<HalfDay> m_halfDays;
    QList<Account> m_accounts;
};
