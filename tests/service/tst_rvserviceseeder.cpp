// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// The store: schema versions, the demo data set and its schedule window.
#include "service/rvserviceaccounts.h"
#include "service/rvservicedatabase.h"
#include "service/rvservicedemodata.h"
#include "service/rvserviceschema.h"
#include "service/rvserviceseeder.h"
#include "servicetestbackend.h"

#include <QJsonObject>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <latch>
#include <thread>

using namespace Qt::StringLiterals;

namespace
{
QVariant scalar(RVServiceDatabase &db, const QString &sql, const QVariantList &values = {})
{
    auto session = db.session();
    auto query = RVServiceDatabase::exec(session.db(), sql, values);
    return query && query->next() ? query->value(0) : QVariant();
}

int version(RVServiceDatabase &db)
{
    auto session = db.session();
    return RVServiceSchema::version(session.db());
}

// The statement of this run's store, where SQLite and PostgreSQL differ.
QString dialect(const QString &sqlite, const QString &postgresql)
{
    return ServiceTestBackend::isPostgreSQL() ? postgresql : sqlite;
}
} // namespace

class TestRVServiceSeeder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void schemaVersionAndReopen()
    {
        QTemporaryDir dir;
        QString error;
        const QString path =
            ServiceTestBackend::freshLocation(dir.filePath(u"sub/store.sqlite"_s), &error);
        QVERIFY2(!path.isEmpty(), qPrintable(error));
        {
            RVServiceDatabase db(path);
            QVERIFY2(db.open(&error), qPrintable(error));
            QVERIFY(db.wasCreated());
            QCOMPARE(version(db), RVServiceSchema::currentVersion());
            if (!ServiceTestBackend::isPostgreSQL())
                QCOMPARE(scalar(db, u"PRAGMA journal_mode"_s).toString(), u"wal"_s);
        }
        RVServiceDatabase again(path);
        QVERIFY(again.open(&error));
        QVERIFY(!again.wasCreated());
    }

    void migratesAnOlderDatabaseAndRefusesANewerOne()
    {
        QTemporaryDir dir;
        QString error;
        const QString path =
            ServiceTestBackend::freshLocation(dir.filePath(u"store.sqlite"_s), &error);
        QVERIFY2(!path.isEmpty(), qPrintable(error));
        const auto setVersion = [](RVServiceDatabase &db, int number) {
            auto session = db.session();
            return RVServiceDatabase::run(
                session.db(), dialect(u"PRAGMA user_version = %1"_s,
                                      u"UPDATE meta SET value = '%1' WHERE key = 'schema'"_s)
                                  .arg(number));
        };
        {
            RVServiceDatabase db(path);
            QVERIFY(db.open(&error));
            auto session = db.session();
            // Back to version 1: the indexes of the later versions are gone.
            for (const QString &index :
                 {u"doctors_place"_s, u"doctors_initials"_s, u"departments_parent"_s,
                  u"schedules_doctor_day"_s, u"doctors_sort"_s})
                QVERIFY(RVServiceDatabase::run(session.db(), u"DROP INDEX "_s + index));
            QVERIFY(setVersion(db, 1));
        }
        {
            RVServiceDatabase db(path);
            QVERIFY2(db.open(&error), qPrintable(error));
            QCOMPARE(version(db), RVServiceSchema::currentVersion());
            QCOMPARE(scalar(db, dialect(u"SELECT COUNT(*) FROM sqlite_master WHERE name IN"_s,
                                        u"SELECT COUNT(*) FROM pg_indexes WHERE indexname IN"_s) +
                                    u" ('doctors_place', 'doctors_sort')"_s)
                         .toInt(),
                     2);
            QVERIFY(setVersion(db, 99));
        }
        RVServiceDatabase newer(path);
        QVERIFY(!newer.open(&error));
        QVERIFY(error.contains(u"99"_s));
    }

    // Services that start at the same moment on a new store: each opens it, exactly one
    // creates the schema, and the demo data is there once however many seed it. The race is in
    // the start-up, so many rounds on SQLite (seeding in the first few: it takes longer); on
    // PostgreSQL each round seeds a server database.
    void startingTogetherOnANewStore()
    {
        QTemporaryDir dir;
        for (int round = 0; round < (ServiceTestBackend::isPostgreSQL() ? 1 : 80); ++round) {
            const bool seeding = round < 4;
            QString error;
            const QString location = ServiceTestBackend::freshLocation(
                dir.filePath(u"store%1.sqlite"_s.arg(round)), &error);
            QVERIFY2(!location.isEmpty(), qPrintable(error));
            QStringList errors(3);
            std::atomic<int> created{0};
            std::latch start(3);
            std::vector<std::thread> services;
            for (QString &failure : errors)
                services.emplace_back([&] {
                    RVServiceDatabase db(location);
                    start.arrive_and_wait();
                    if (db.open(&failure) && seeding &&
                        !RVServiceSeeder(db).seed(QDate::currentDate()))
                        failure = u"seeding failed"_s;
                    created += db.wasCreated() ? 1 : 0;
                });
            for (std::thread &t : services)
                t.join();
            QCOMPARE(errors, QStringList(3));
            QCOMPARE(created.load(), 1);
            if (!seeding)
                continue;
            RVServiceDatabase db(location);
            QVERIFY(db.open(&error));
            QCOMPARE(scalar(db, u"SELECT COUNT(*) FROM users"_s).toInt(), 1);
            QCOMPARE(scalar(db, u"SELECT COUNT(*) FROM hospitals"_s).toInt(),
                     static_cast<int>(RVServiceDemoData::hospitals().size()));
        }
    }

    void demoDataIsDeterministicAndComplete()
    {
        const auto doctors = RVServiceDemoData::doctors();
        QVERIFY(doctors.size() >= 120);
        QCOMPARE(RVServiceDemoData::doctors().constLast().ysmc, doctors.constLast().ysmc);
        QSet<QString> names;
        for (const auto &d : doctors) {
            names.insert(d.ysmc);
            QCOMPARE(d.pym, RVServiceDemoData::initials(d.ysmc));
            QCOMPARE(d.pym.size(), d.ysmc.size());
        }
        QCOMPARE(names.size(), doctors.size());
        QCOMPARE(RVServiceDemoData::hospitals().size(), 6);
        QCOMPARE(RVServiceDemoData::initials(u"王海明"_s), u"WHM"_s);
        QCOMPARE(RVServiceDemoData::slotTimes(1).size(), 8);
        QCOMPARE(RVServiceDemoData::slotTimes(2).constLast(), u"16:30"_s);
    }

    void scheduleWindowFollowsTheDate()
    {
        QString error;
        RVServiceDatabase db(ServiceTestBackend::freshLocation(u":memory:"_s, &error));
        QVERIFY2(db.open(&error), qPrintable(error));
        RVServiceSeeder seeder(db);
        const QDate today = QDate::currentDate();
        QVERIFY(seeder.seed(today));
        QCOMPARE(scalar(db, u"SELECT MIN(jzrq) FROM schedules"_s).toString(),
                 today.toString(u"yyyy-MM-dd"_s));
        QCOMPARE(scalar(db, u"SELECT MAX(jzrq) FROM schedules"_s).toString(),
                 today.addDays(13).toString(u"yyyy-MM-dd"_s));
        QCOMPARE(scalar(db, u"SELECT COUNT(DISTINCT jzrq) FROM schedules"_s).toInt(), 14);
        QVERIFY(scalar(db, u"SELECT COUNT(*) FROM schedules WHERE jlzt = 1"_s).toInt() > 0);
        QVERIFY(scalar(db, u"SELECT COUNT(*) FROM schedules WHERE kyrs = 0"_s).toInt() > 0);
        QCOMPARE(scalar(db, u"SELECT COUNT(*) FROM schedules s WHERE"
                            " (SELECT COUNT(*) FROM slots t WHERE t.pbid = s.pbid) < s.kyrs"_s)
                     .toInt(),
                 0);

        // A day already live keeps its places; the new day appears.
        const QString firstDay = today.toString(u"yyyy-MM-dd"_s);
        const QString pbid =
            scalar(db, u"SELECT pbid FROM schedules WHERE jzrq = ? AND kyrs > 0"_s, {firstDay})
                .toString();
        {
            auto session = db.session();
            QVERIFY(RVServiceDatabase::exec(
                session.db(), u"UPDATE schedules SET kyrs = 1 WHERE pbid = ?"_s, {pbid}));
        }
        const int before = scalar(db, u"SELECT COUNT(*) FROM schedules"_s).toInt();
        QVERIFY(seeder.seed(today)); // seeding twice changes nothing
        QCOMPARE(scalar(db, u"SELECT COUNT(*) FROM schedules"_s).toInt(), before);
        QVERIFY(seeder.refreshSchedules(today.addDays(1)));
        QCOMPARE(scalar(db, u"SELECT MAX(jzrq) FROM schedules"_s).toString(),
                 today.addDays(14).toString(u"yyyy-MM-dd"_s));
        QCOMPARE(scalar(db, u"SELECT kyrs FROM schedules WHERE pbid = ?"_s, {pbid}).toInt(), 1);

        // The same date always gives the same half-days.
        RVServiceDatabase other(ServiceTestBackend::freshLocation(u":memory:"_s, &error));
        QVERIFY2(other.open(&error), qPrintable(error));
        RVServiceSeeder(other).seed(today.addDays(1));
        const QString day = today.addDays(5).toString(u"yyyy-MM-dd"_s);
        const QString sql = dialect(u"SELECT group_concat(pbid || jlzt || kyrs) FROM"_s,
                                    u"SELECT string_agg(pbid || jlzt || kyrs, ',') FROM"_s) +
                            u" (SELECT * FROM schedules WHERE jzrq = ? ORDER BY pbid) s"_s;
        QCOMPARE(scalar(other, sql, {day}).toString(), scalar(db, sql, {day}).toString());
    }

    void seededDatabaseHoldsTheDemoAccount()
    {
        QString error;
        RVServiceDatabase db(ServiceTestBackend::freshLocation(u":memory:"_s, &error));
        QVERIFY2(db.open(&error), qPrintable(error));
        QVERIFY(RVServiceSeeder(db).seed(QDate::currentDate()));
        RVServiceAccounts accounts(db);
        const auto login = [&accounts](const QString &password) {
            return accounts.login(
                QJsonObject{{u"yhm"_s, RVServiceSeeder::demoAccountName()}, {u"mm"_s, password}});
        };
        QVERIFY(login(RVServiceSeeder::demoAccountPassword()).ok);
        QVERIFY(!login(u"wrong-one"_s).ok);
        // Stored hashed, never as the password itself.
        QCOMPARE(scalar(db, u"SELECT COUNT(*) FROM users WHERE password = ?"_s,
                        {RVServiceSeeder::demoAccountPassword()})
                     .toInt(),
                 0);
        QVERIFY(RVServiceSeeder(db).seed(QDate::currentDate())); // a second seed is harmless
    }

    void noSeedMeansNoSchedules()
    {
        QString error;
        RVServiceDatabase db(ServiceTestBackend::freshLocation(u":memory:"_s, &error));
        QVERIFY2(db.open(&error), qPrintable(error));
        RVServiceSeeder seeder(db);
        QVERIFY(!seeder.isSeeded());
        QVERIFY(seeder.refreshSchedules(QDate::currentDate()));
        QCOMPARE(scalar(db, u"SELECT COUNT(*) FROM schedules"_s).toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestRVServiceSeeder)
#include "tst_rvserviceseeder.moc"
