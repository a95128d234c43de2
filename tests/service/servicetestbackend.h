// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "service/rvserviceoptions.h"

#include <QString>

// The store the service's tests run on: SQLite, or PostgreSQL when RV_TEST_POSTGRESQL is set
// (the *_postgresql tests, which CTest starts under pg_virtualenv), each fresh store then a
// new database on that server. A PostgreSQL run without a server fails with the reason.
namespace ServiceTestBackend
{
bool isPostgreSQL();
// A new, empty store: the given SQLite location, or a new PostgreSQL database; empty with
// *error when none can be made.
QString freshLocation(const QString &sqliteLocation, QString *error);
// RVServiceThread's ephemeral options on a fresh store (":memory:" on SQLite).
RVServiceOptions options(QString *error);
} // namespace ServiceTestBackend
