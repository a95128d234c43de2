// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvserviceschema.h"

#include "service/rvservicedatabase.h"

using namespace Qt::StringLiterals;

const QList<QStringList> &RVServiceSchema::steps()
{
    static const QList<QStringList> all{
        // 1: the catalogue, the accounts and the bookings.
        {
            u"CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)"_s,
            u"CREATE TABLE hospitals (hospid TEXT PRIMARY KEY, yymc TEXT NOT NULL, yyjc TEXT,"
            " yydj TEXT, yyjs TEXT, yydz TEXT, yydh TEXT, jd TEXT, wd TEXT, bz TEXT,"
            " sort INTEGER NOT NULL DEFAULT 0)"_s,
            // Classes have parent '0' and no hospital; standard departments have a class as
            // parent and no hospital; a hospital's departments have both.
            u"CREATE TABLE departments (deptid TEXT PRIMARY KEY, parent TEXT NOT NULL,"
            " hospid TEXT REFERENCES hospitals(hospid), bzksdm TEXT NOT NULL,"
            " bzksmc TEXT NOT NULL, ksms TEXT, sort INTEGER NOT NULL DEFAULT 0)"_s,
            u"CREATE TABLE doctors (ysdm TEXT PRIMARY KEY,"
            " hospid TEXT NOT NULL REFERENCES hospitals(hospid),"
            " deptid TEXT NOT NULL REFERENCES departments(deptid), ysmc TEXT NOT NULL,"
            " ysxb TEXT, yszc TEXT, ysxl TEXT, ysjl TEXT, ysjs TEXT, scjb TEXT,"
            " pym TEXT NOT NULL, ghf TEXT, sort INTEGER NOT NULL DEFAULT 0)"_s,
            u"CREATE TABLE schedules (pbid TEXT PRIMARY KEY,"
            " ysdm TEXT NOT NULL REFERENCES doctors(ysdm), jzrq TEXT NOT NULL,"
            " bcbm INTEGER NOT NULL CHECK (bcbm IN (1, 2)), jlzt INTEGER NOT NULL DEFAULT 0,"
            " kyrs INTEGER NOT NULL CHECK (kyrs >= 0), UNIQUE (ysdm, jzrq, bcbm))"_s,
            u"CREATE TABLE slots (id INTEGER PRIMARY KEY,"
            " pbid TEXT NOT NULL REFERENCES schedules(pbid), fzxh INTEGER NOT NULL,"
            " yysj TEXT NOT NULL, UNIQUE (pbid, fzxh))"_s,
            u"CREATE TABLE users (yhid INTEGER PRIMARY KEY AUTOINCREMENT,"
            " yhm TEXT NOT NULL UNIQUE, password TEXT NOT NULL, xm TEXT, sfzhm TEXT,"
            " xb INTEGER NOT NULL DEFAULT 0, csny TEXT, ylkh TEXT, gddh TEXT, sjhm TEXT,"
            " dz TEXT, yb TEXT, dzyx TEXT, gzmy TEXT, created TEXT NOT NULL)"_s,
            u"CREATE TABLE bookings (id INTEGER PRIMARY KEY AUTOINCREMENT, yylsh TEXT UNIQUE,"
            " yhid INTEGER NOT NULL REFERENCES users(yhid),"
            " slot INTEGER NOT NULL REFERENCES slots(id), yyzt TEXT NOT NULL DEFAULT '0',"
            " yzhm TEXT, brxm TEXT, brxb TEXT, sfzhm TEXT, csny TEXT, sjhm TEXT, lxdz TEXT,"
            " created TEXT NOT NULL)"_s,
            // A slot is sold once: at most one live booking ('0') per slot.
            u"CREATE UNIQUE INDEX bookings_live_slot ON bookings (slot) WHERE yyzt = '0'"_s,
            u"CREATE INDEX bookings_user ON bookings (yhid)"_s,
        },
        // 2: indexes for the queries of the doctor list, the schedules and the department tree.
        {
            u"CREATE INDEX doctors_place ON doctors (hospid, deptid, sort)"_s,
            u"CREATE INDEX doctors_initials ON doctors (pym COLLATE NOCASE)"_s,
            u"CREATE INDEX departments_parent ON departments (parent, hospid, sort)"_s,
            u"CREATE INDEX schedules_doctor_day ON schedules (ysdm, jzrq, bcbm)"_s,
        },
        // 3: the doctor list pages in display order without sorting the whole table.
        {
            u"CREATE INDEX doctors_sort ON doctors (sort)"_s,
        },
    };
    return all;
}

int RVServiceSchema::currentVersion()
{
    return static_cast<int>(steps().size());
}

int RVServiceSchema::version(QSqlDatabase &db)
{
    auto query = RVServiceDatabase::exec(db, u"PRAGMA user_version"_s);
    return query && query->next() ? query->value(0).toInt() : -1;
}

bool RVServiceSchema::migrate(QSqlDatabase &db, QString *error)
{
    int from = version(db);
    if (from < 0 || from > currentVersion()) {
        *error =
            u"the database has schema version %1; this service knows versions up to %2"_s.arg(from)
                .arg(currentVersion());
        return false;
    }
    for (; from < currentVersion(); ++from) {
        if (!RVServiceDatabase::exec(db, u"BEGIN IMMEDIATE"_s)) {
            *error = u"cannot start the migration to version %1"_s.arg(from + 1);
            return false;
        }
        bool ok = true;
        for (const QString &statement : steps().at(from))
            ok = ok && RVServiceDatabase::exec(db, statement).has_value();
        // PRAGMA takes no bound values; the number comes from this program, not from input.
        ok = ok && RVServiceDatabase::exec(db, u"PRAGMA user_version = %1"_s.arg(from + 1));
        ok = ok && RVServiceDatabase::exec(db, u"COMMIT"_s);
        if (!ok) {
            RVServiceDatabase::exec(db, u"ROLLBACK"_s);
            *error = u"the migration to version %1 failed"_s.arg(from + 1);
            return false;
        }
    }
    return true;
}
