// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QDate>

class RVServiceDatabase;

// Writes the demo data set into the store. Seeding is idempotent (rows are keyed by the data
// set's own identifiers), and the schedule window is topped up for today and the 13 following
// days whenever the service starts or the date changes, so the demo never goes stale. Days
// already present are left alone: their places and bookings are live data.
class RVServiceSeeder final
{
public:
    explicit RVServiceSeeder(RVServiceDatabase &database);

    bool seed(QDate today);
    // The account every seeded database holds.
    static QString demoAccountName();
    static QString demoAccountPassword();
    bool isSeeded();
    // Adds the half-days of the window that are missing; true when nothing failed.
    bool refreshSchedules(QDate today);

private:
    bool writeCatalogue();
    void writeDemoAccount();
    RVServiceDatabase &m_database;
};
