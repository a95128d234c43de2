// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvserviceseeder.h"

#include "protocols/rvlogmasking.h"
#include "service/rvserviceaccounts.h"
#include "service/rvservicedatabase.h"
#include "service/rvservicedemodata.h"
#include "service/rvservicelog.h"

#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace
{
// One statement run for many rows, prepared once inside the session.
bool runAll(QSqlDatabase &db, const QString &sql, const QList<QVariantList> &rows)
{
    for (const QVariantList &row : rows)
        if (!RVServiceDatabase::exec(db, sql, row))
            return false;
    return true;
}

QVariant orNull(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}
} // namespace

RVServiceSeeder::RVServiceSeeder(RVServiceDatabase &database) : m_database(database) {}

bool RVServiceSeeder::isSeeded()
{
    auto session = m_database.session();
    auto query =
        RVServiceDatabase::exec(session.db(), u"SELECT value FROM meta WHERE key = 'seeded'"_s);
    return query && query->next() && query->value(0).toString() == u"1"_s;
}

bool RVServiceSeeder::seed(QDate today)
{
    if (!writeCatalogue()) {
        qCWarning(lcService) << "seeding the demo catalogue failed";
        return false;
    }
    writeDemoAccount();
    return refreshSchedules(today);
}

void RVServiceSeeder::writeDemoAccount()
{
    // So that a first run can log in at once; registered like any other account, so its
    // password is stored hashed.
    const QJsonObject body{{u"yhm"_s, demoAccountName()},
                           {u"mm"_s, demoAccountPassword()},
                           {u"xm"_s, u"张三"_s},
                           {u"sfzhm"_s, u"110101199003074538"_s},
                           {u"xb"_s, 1},
                           {u"csny"_s, u"1990-03-07"_s},
                           {u"sjhm"_s, demoAccountName()},
                           {u"dz"_s, u"北京市东城区示例路1号"_s}};
    const RVServiceOutcome outcome = RVServiceAccounts(m_database).registerUser(body);
    if (outcome.ok)
        qCInfo(lcService).noquote() << u"demo account: %1 (its password is in the README)"_s.arg(
            RVLogMasking::loginName(demoAccountName()));
}

QString RVServiceSeeder::demoAccountName()
{
    return u"13800138000"_s;
}

QString RVServiceSeeder::demoAccountPassword()
{
    return u"123456"_s;
}

bool RVServiceSeeder::writeCatalogue()
{
    QList<QVariantList> hospitals;
    for (const auto &h : RVServiceDemoData::hospitals())
        hospitals.append({h.hospid, h.yymc, h.yyjc, h.yydj, h.yyjs, h.yydz, h.yydh, h.jd, h.wd,
                          static_cast<int>(hospitals.size() + 1)});
    QList<QVariantList> departments;
    for (const auto &d : RVServiceDemoData::departments())
        departments.append(
            {d.deptid, d.parent, orNull(d.hospid), d.bzksdm, d.bzksmc, orNull(d.ksms), d.sort});
    QList<QVariantList> doctors;
    for (const auto &d : RVServiceDemoData::doctors())
        doctors.append({d.ysdm, d.hospid, d.deptid, d.ysmc, d.ysxb, d.yszc, d.ysxl, d.ysjl, d.ysjs,
                        d.scjb, d.pym, d.ghf, d.sort});

    // Every row is keyed by the data set's own identifiers: a second seeding, or one in
    // another process at the same moment, leaves what is there.
    const auto written = m_database.write([&](QSqlDatabase &db) {
        return runAll(db,
                      u"INSERT INTO hospitals (hospid, yymc, yyjc, yydj, yyjs, yydz, yydh, jd, wd,"
                      " sort) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT DO NOTHING"_s,
                      hospitals) &&
               runAll(db,
                      u"INSERT INTO departments (deptid, parent, hospid, bzksdm, bzksmc, ksms,"
                      " sort) VALUES (?, ?, ?, ?, ?, ?, ?) ON CONFLICT DO NOTHING"_s,
                      departments) &&
               runAll(db,
                      u"INSERT INTO doctors (ysdm, hospid, deptid, ysmc, ysxb, yszc, ysxl, ysjl,"
                      " ysjs, scjb, pym, ghf, sort) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
                      " ON CONFLICT DO NOTHING"_s,
                      doctors) &&
               RVServiceDatabase::exec(db,
                                       u"INSERT INTO meta (key, value) VALUES ('seeded', '1')"
                                       " ON CONFLICT (key) DO UPDATE SET value = excluded.value"_s);
    });
    return written == RVServiceDatabase::Write::Committed;
}

bool RVServiceSeeder::refreshSchedules(QDate today)
{
    if (!isSeeded())
        return true; // a database without the demo set has no demo schedules to extend
    const QList<RVServiceDemoData::Doctor> doctors = RVServiceDemoData::doctors();
    int added = 0;
    const auto written = m_database.write([&](QSqlDatabase &db) {
        added = 0;
        QList<QVariantList> schedules;
        QList<QVariantList> slots; // a half of a new day with one of its times
        for (int offset = 0; offset < RVServiceDemoData::scheduleDays; ++offset) {
            const QDate day = today.addDays(offset);
            const QString jzrq = day.toString(u"yyyy-MM-dd"_s);
            auto present = RVServiceDatabase::exec(
                db, u"SELECT 1 FROM schedules WHERE jzrq = ? LIMIT 1"_s, {jzrq});
            if (!present)
                return false;
            if (present->next())
                continue; // this day is already live
            for (int bcbm = 1; bcbm <= 2; ++bcbm) {
                for (const auto &doctor : doctors) {
                    const auto half = RVServiceDemoData::halfDay(doctor.ysdm, day, bcbm);
                    if (!half.held)
                        continue;
                    schedules.append({RVServiceDemoData::pbid(doctor.ysdm, day, bcbm), doctor.ysdm,
                                      jzrq, bcbm, half.jlzt, half.kyrs, doctor.ysdm});
                    ++added;
                }
                const QStringList times = RVServiceDemoData::slotTimes(bcbm);
                for (qsizetype i = 0; i < times.size(); ++i)
                    slots.append({static_cast<int>(i + 1), times.at(i), jzrq, bcbm});
            }
        }
        return runAll(db,
                      u"INSERT INTO schedules (pbid, ysdm, jzrq, bcbm, jlzt, kyrs)"
                      " SELECT ?, ?, ?, ?, ?, ? WHERE EXISTS (SELECT 1 FROM doctors WHERE ysdm = ?)"
                      " ON CONFLICT DO NOTHING"_s,
                      schedules) &&
               // One statement gives a time to every half-day of a day: a round trip less per
               // slot matters on a database server.
               runAll(db,
                      u"INSERT INTO slots (pbid, fzxh, yysj) SELECT pbid, CAST(? AS INTEGER),"
                      " CAST(? AS TEXT) FROM schedules WHERE jzrq = ? AND bcbm = ?"
                      " ON CONFLICT DO NOTHING"_s,
                      slots);
    });
    if (written != RVServiceDatabase::Write::Committed) {
        qCWarning(lcService) << "extending the demo schedules failed";
        return false;
    }
    if (added == 0)
        return true;
    qCInfo(lcService) << "demo schedules: added" << added << "half-days";
    // PostgreSQL's planner gets the numbers of the new rows now rather than when autovacuum
    // comes by: without them it plans the doctor list for tables of a few hundred rows each.
    if (m_database.backend() == RVServiceDatabase::Backend::PostgreSQL) {
        auto session = m_database.session();
        RVServiceDatabase::run(session.db(), u"ANALYZE"_s);
    }
    return true;
}
