// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvserviceseeder.h"

#include "service/rvserviceaccounts.h"
#include "service/rvservicedatabase.h"
#include "service/rvservicedemodata.h"
#include "service/rvservicelog.h"

#include <QJsonObject>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace
{
// One prepared statement run for many rows.
bool runAll(QSqlQuery &query, const QList<QVariantList> &rows)
{
    for (const QVariantList &row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i)
            query.bindValue(static_cast<int>(i), row.at(i));
        if (!query.exec())
            return false;
    }
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
        qCInfo(lcService).noquote()
            << u"demo account: %1 / %2"_s.arg(demoAccountName(), demoAccountPassword());
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

    auto session = m_database.session();
    if (!session.beginImmediate())
        return false;
    QSqlQuery hospital(session.db());
    QSqlQuery department(session.db());
    QSqlQuery doctor(session.db());
    const bool ok =
        hospital.prepare(u"INSERT OR IGNORE INTO hospitals (hospid, yymc, yyjc, yydj, yyjs, yydz,"
                         " yydh, jd, wd, sort) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s) &&
        department.prepare(u"INSERT OR IGNORE INTO departments (deptid, parent, hospid, bzksdm,"
                           " bzksmc, ksms, sort) VALUES (?, ?, ?, ?, ?, ?, ?)"_s) &&
        doctor.prepare(u"INSERT OR IGNORE INTO doctors (ysdm, hospid, deptid, ysmc, ysxb, yszc,"
                       " ysxl, ysjl, ysjs, scjb, pym, ghf, sort)"
                       " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s) &&
        runAll(hospital, hospitals) && runAll(department, departments) && runAll(doctor, doctors) &&
        RVServiceDatabase::exec(
            session.db(), u"INSERT OR REPLACE INTO meta (key, value) VALUES ('seeded', '1')"_s);
    if (!ok) {
        session.rollback();
        return false;
    }
    return session.commit();
}

bool RVServiceSeeder::refreshSchedules(QDate today)
{
    if (!isSeeded())
        return true; // a database without the demo set has no demo schedules to extend
    const QList<RVServiceDemoData::Doctor> doctors = RVServiceDemoData::doctors();
    auto session = m_database.session();
    if (!session.beginImmediate())
        return false;
    QSqlQuery present(session.db());
    QSqlQuery schedule(session.db());
    QSqlQuery slot(session.db());
    bool ok =
        present.prepare(u"SELECT 1 FROM schedules WHERE jzrq = ? LIMIT 1"_s) &&
        schedule.prepare(u"INSERT OR IGNORE INTO schedules (pbid, ysdm, jzrq, bcbm, jlzt,"
                         " kyrs) SELECT ?, ?, ?, ?, ?, ?"
                         " WHERE EXISTS (SELECT 1 FROM doctors WHERE ysdm = ?)"_s) &&
        slot.prepare(u"INSERT OR IGNORE INTO slots (pbid, fzxh, yysj)"
                     " SELECT ?, ?, ? WHERE EXISTS (SELECT 1 FROM schedules WHERE pbid = ?)"_s);
    int added = 0;
    for (int offset = 0; ok && offset < RVServiceDemoData::scheduleDays; ++offset) {
        const QDate day = today.addDays(offset);
        const QString jzrq = day.toString(u"yyyy-MM-dd"_s);
        present.bindValue(0, jzrq);
        ok = present.exec();
        if (!ok || present.next())
            continue; // this day is already live
        present.finish();
        for (const auto &doctor : doctors) {
            for (int bcbm = 1; ok && bcbm <= 2; ++bcbm) {
                const auto half = RVServiceDemoData::halfDay(doctor.ysdm, day, bcbm);
                if (!half.held)
                    continue;
                const QString pbid = RVServiceDemoData::pbid(doctor.ysdm, day, bcbm);
                ok = runAll(schedule,
                            {{pbid, doctor.ysdm, jzrq, bcbm, half.jlzt, half.kyrs, doctor.ysdm}});
                const QStringList times = RVServiceDemoData::slotTimes(bcbm);
                for (qsizetype i = 0; ok && i < times.size(); ++i)
                    ok = runAll(slot, {{pbid, static_cast<int>(i + 1), times.at(i), pbid}});
                ++added;
            }
        }
    }
    present.finish();
    if (!ok) {
        session.rollback();
        qCWarning(lcService) << "extending the demo schedules failed";
        return false;
    }
    if (added > 0)
        qCInfo(lcService) << "demo schedules: added" << added << "half-days";
    return session.commit();
}
