// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// Booking straight on the store, from many threads at once, each on its own connection to a
// WAL database file or to PostgreSQL: the atomicity must hold in the store itself, not only
// because the HTTP server happens to run its handlers one after another.
#include "service/rvserviceaccounts.h"
#include "service/rvservicebookings.h"
#include "service/rvservicedatabase.h"
#include "service/rvserviceseeder.h"
#include "servicetestbackend.h"

#include <QJsonArray>
#include <QSqlDatabase>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <latch>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

class TestRVServiceBookings : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<RVServiceDatabase> m_db;
    QList<RVServiceAccounts::Caller> m_users;

    QVariant scalar(const QString &sql, const QVariantList &values = {})
    {
        auto session = m_db->session();
        auto query = RVServiceDatabase::exec(session.db(), sql, values);
        return query && query->next() ? query->value(0) : QVariant();
    }

    // A bookable morning of tomorrow with its places set to the given number.
    QString morningWithPlaces(int places, int skip)
    {
        const QString pbid =
            scalar(u"SELECT pbid FROM schedules WHERE jzrq = ? AND bcbm = 1 AND jlzt = 0"
                   " AND kyrs = 8 ORDER BY pbid LIMIT 1 OFFSET ?"_s,
                   {QDate::currentDate().addDays(1).toString(u"yyyy-MM-dd"_s), skip})
                .toString();
        auto session = m_db->session();
        RVServiceDatabase::exec(session.db(), u"UPDATE schedules SET kyrs = ? WHERE pbid = ?"_s,
                                {places, pbid});
        return pbid;
    }

    // Books from one thread per user at the same moment; returns the number of successes.
    int race(const QString &pbid, bool sameSlot)
    {
        std::atomic<int> successes{0};
        std::latch start(static_cast<std::ptrdiff_t>(m_users.size()));
        std::vector<std::thread> threads;
        for (qsizetype i = 0; i < m_users.size(); ++i) {
            threads.emplace_back([&, i] {
                RVServiceBookings bookings(*m_db);
                const QJsonObject body{{u"pbid"_s, pbid},
                                       {u"fzxh"_s, sameSlot ? u"1"_s : QString::number(i + 1)}};
                start.arrive_and_wait();
                if (bookings.book(m_users.at(i), body).ok)
                    ++successes;
            });
        }
        for (std::thread &t : threads)
            t.join();
        return successes.load();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QString error;
        const QString location =
            ServiceTestBackend::freshLocation(m_dir.filePath(u"store.sqlite"_s), &error);
        QVERIFY2(!location.isEmpty(), qPrintable(error));
        m_db = std::make_unique<RVServiceDatabase>(location);
        QVERIFY2(m_db->open(&error), qPrintable(error));
        QVERIFY(RVServiceSeeder(*m_db).seed(QDate::currentDate()));
        RVServiceAccounts accounts(*m_db);
        for (int i = 0; i < 8; ++i) {
            const QString name = u"1370000000%1"_s.arg(i);
            const RVServiceOutcome made =
                accounts.registerUser({{u"yhm"_s, name},
                                       {u"mm"_s, u"secret1"_s},
                                       {u"xm"_s, u"并发用户"_s},
                                       {u"sfzhm"_s, u"330102199001011234"_s},
                                       {u"sjhm"_s, u"13700000000"_s}});
            QVERIFY2(made.ok, qPrintable(made.retmsg));
            const auto caller = accounts.caller(name);
            QVERIFY(caller);
            m_users.append(*caller);
        }
    }

    void lastPlaceGoesToExactlyOne_data()
    {
        QTest::addColumn<bool>("sameSlot");
        QTest::newRow("different slots, one place") << false;
        QTest::newRow("same slot, one place") << true;
    }

    void lastPlaceGoesToExactlyOne()
    {
        QFETCH(bool, sameSlot);
        const QString pbid = morningWithPlaces(1, sameSlot ? 1 : 0);
        QCOMPARE(race(pbid, sameSlot), 1);
        QCOMPARE(scalar(u"SELECT kyrs FROM schedules WHERE pbid = ?"_s, {pbid}).toInt(), 0);
        QCOMPARE(scalar(u"SELECT COUNT(*) FROM bookings b JOIN slots t ON t.id = b.slot"
                        " WHERE t.pbid = ? AND b.yyzt = '0'"_s,
                        {pbid})
                     .toInt(),
                 1);
    }

    void sameSlotIsSoldOnceWithPlacesLeft()
    {
        const QString pbid = morningWithPlaces(8, 2);
        QCOMPARE(race(pbid, true), 1);
        // The refused bookings gave their place back: only one was taken.
        QCOMPARE(scalar(u"SELECT kyrs FROM schedules WHERE pbid = ?"_s, {pbid}).toInt(), 7);
    }

    void everyPlaceOnceUnderLoad()
    {
        const QString pbid = morningWithPlaces(5, 3);
        QCOMPARE(race(pbid, false), 5);
        QCOMPARE(scalar(u"SELECT kyrs FROM schedules WHERE pbid = ?"_s, {pbid}).toInt(), 0);
    }

    void busyStoreIsTriedAFewTimesThenRefused()
    {
        if (ServiceTestBackend::isPostgreSQL())
            QSKIP("SQLite's one write lock; PostgreSQL writers wait for rows instead");
        const QString file = m_dir.filePath(u"busy.sqlite"_s);
        RVServiceDatabase db(file);
        db.setBusyTimeout(20);
        QString error;
        QVERIFY(db.open(&error));
        QSqlDatabase holder = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"holder"_s);
        holder.setDatabaseName(file);
        QVERIFY(holder.open() && RVServiceDatabase::run(holder, u"BEGIN IMMEDIATE"_s));
        const auto write = [](QSqlDatabase &store) {
            return RVServiceDatabase::run(store, u"UPDATE meta SET value = value"_s);
        };
        QCOMPARE(db.write(write), RVServiceDatabase::Write::Failed); // the other writer holds on
        QCOMPARE(db.retries(), quint64(RVServiceDatabase::maxAttempts - 1));
        QVERIFY(RVServiceDatabase::run(holder, u"ROLLBACK"_s));
        QCOMPARE(db.write(write), RVServiceDatabase::Write::Committed);
    }

    void cancelRules()
    {
        const QString pbid = morningWithPlaces(8, 4);
        RVServiceBookings bookings(*m_db);
        const RVServiceOutcome booked =
            bookings.book(m_users.at(0), {{u"pbid"_s, pbid}, {u"fzxh"_s, u"3"_s}});
        QVERIFY(booked.ok);
        const QJsonObject row = booked.body.value(u"list"_s).toArray().first().toObject();
        const QString yylsh = row.value(u"yylsh"_s).toString();
        QVERIFY(!yylsh.isEmpty());
        QCOMPARE(row.value(u"yyzt"_s).toString(), u"0"_s);
        QCOMPARE(scalar(u"SELECT kyrs FROM schedules WHERE pbid = ?"_s, {pbid}).toInt(), 7);

        QCOMPARE(bookings.cancel(m_users.at(1), {{u"yylsh"_s, yylsh}}).retmsg,
                 u"只能取消本人的预约"_s);
        QCOMPARE(bookings.cancel(m_users.at(0), {{u"yylsh"_s, u"nope"_s}}).retmsg,
                 u"预约记录不存在"_s);
        QCOMPARE(bookings.cancel(m_users.at(0), {}).retmsg, u"缺少必填字段：yylsh"_s);
        QVERIFY(bookings.cancel(m_users.at(0), {{u"yylsh"_s, yylsh}}).ok);
        QCOMPARE(scalar(u"SELECT kyrs FROM schedules WHERE pbid = ?"_s, {pbid}).toInt(), 8);
        QVERIFY(!bookings.cancel(m_users.at(0), {{u"yylsh"_s, yylsh}}).ok);
        QCOMPARE(scalar(u"SELECT kyrs FROM schedules WHERE pbid = ?"_s, {pbid}).toInt(), 8);

        // Booking for somebody else is refused; the listing shows only one's own.
        QCOMPARE(bookings
                     .book(m_users.at(1), {{u"pbid"_s, pbid},
                                           {u"fzxh"_s, u"4"_s},
                                           {u"yhid"_s, QString::number(m_users.at(0).yhid)}})
                     .retmsg,
                 u"只能为本人预约"_s);
        const RVServiceOutcome own = bookings.list(m_users.at(0), {});
        for (const QJsonValue &b : own.body.value(u"list"_s).toArray())
            QCOMPARE(b.toObject().value(u"yhid"_s).toString(), QString::number(m_users.at(0).yhid));
    }
};

QTEST_GUILESS_MAIN(TestRVServiceBookings)
#include "tst_rvservicebookings.moc"
