// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "bookingtestservice.h"
#include "models/rvbookinghistory.h"
#include "models/rvbookingstore.h"
#include "models/rvuserstore.h"
#include "models/rvwatch.h"
#include "platform/notificationcenter.h"

#include <QFile>
#include <QJsonArray>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace
{
QJsonObject booking(const QString &yylsh, const QString &yyzt, const QString &fzxh = u"1"_s)
{
    return {{u"yylsh"_s, yylsh}, {u"yyzt"_s, yyzt}, {u"pbid"_s, u"P42"_s}, {u"fzxh"_s, fzxh}};
}

QStringList keysAndStates(const RVBookingStore::Bookings &bookings)
{
    QStringList seen;
    for (const RVReservationInfo &b : bookings)
        seen << RVBaseInfo::text(b.yylsh()) + u'=' + RVBaseInfo::text(b.yyzt());
    return seen;
}

void answerList(BookingTestService &service, const QJsonArray &list)
{
    service.answer(u"C002"_s, BookingTestService::reply(true, u"查询成功"_s, &list));
}
} // namespace

class TestRVBookingStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { QVERIFY(RVBookingStore::remove(u"7"_s) && RVBookingStore::remove(u"8"_s)); }

    // Lists, a booking and a cancel reach the store; a booking the service drops stays, no
    // longer open, and the service's order leads.
    void listsBookingsAndCancelsUpdateTheStore()
    {
        BookingTestService service;
        BookingTestService::logIn(BookingTestService::patient());
        const RVUserStore user = RVUserStore::loggedIn();
        answerList(service, {booking(u"L1"_s, u"0"_s), booking(u"L2"_s, u"0"_s)});
        QVERIFY(RVBookingHistory::load(user).httpStats);
        answerList(service, {booking(u"L3"_s, u"0"_s, u"3"_s), booking(u"L2"_s, u"1"_s)});
        service.answer(u"C001"_s, BookingTestService::reply(true, u"预约成功"_s));
        const auto made =
            BookingTestService::choice().bookingOf(BookingTestService::patient()).book();
        QVERIFY(made.ok && made.booking);
        QCOMPARE(made.booking->yylsh(), QJsonValue(u"L3"_s));
        const RVBookingStore store(u"7"_s);
        QCOMPARE(keysAndStates(store.bookings()), (QStringList{u"L3=0"_s, u"L2=1"_s, u"L1="_s}));

        service.answer(u"C005"_s, BookingTestService::reply(false, u"不能取消"_s));
        QVERIFY(!RVBookingHistory::cancel(user, u"L3"_s).ok);
        QCOMPARE(keysAndStates(store.bookings()), (QStringList{u"L3=0"_s, u"L2=1"_s, u"L1="_s}));
        service.answer(u"C005"_s, BookingTestService::reply(true, u"取消预约成功"_s));
        QVERIFY(RVBookingHistory::cancel(user, u"L3"_s).ok);
        QCOMPARE(keysAndStates(store.bookings()), (QStringList{u"L3="_s, u"L2=1"_s, u"L1="_s}));
        QVERIFY(RVBookingStore(u"8"_s).bookings().isEmpty());
    }

    // Without the service the stored list is shown, with the time of the last list; a refusal
    // is no reason to show it.
    void unreachableServiceShowsTheStoredList_data()
    {
        QTest::addColumn<bool>("answered");
        QTest::newRow("no answer: offline") << false;
        QTest::newRow("refused: not offline") << true;
    }
    void unreachableServiceShowsTheStoredList()
    {
        QFETCH(bool, answered);
        const QDateTime when = QDateTime::currentDateTimeUtc().addDays(-1);
        QVERIFY(RVBookingStore(u"7"_s).saveList(
            {RVBaseInfo::fromDictionary<RVReservationInfo>(booking(u"L1"_s, u"0"_s))}, when));
        BookingTestService service;
        service.answer(u"C002"_s, BookingTestService::reply(false, u"登录已失效"_s));
        if (!answered)
            service.lose(u"C002"_s, FakeService::Ending::CloseWithoutAnswer);
        const auto shown =
            RVBookingHistory::refresh(RVUserStore::of(BookingTestService::patient()));
        QVERIFY(!shown.httpStats);
        QCOMPARE(shown.offline, !answered);
        QCOMPARE(keysAndStates(shown.bookings), answered ? QStringList() : QStringList{u"L1=0"_s});
        if (!answered)
            QCOMPARE(shown.refreshed, std::optional(when.toLocalTime()));
    }

    // Logging out deletes the user's store, and only that user's.
    void removeDeletesOnlyThatUsersStore()
    {
        const RVBookingStore mine(u"7"_s), theirs(u"8"_s);
        const RVBookingStore::Bookings list{
            RVBaseInfo::fromDictionary<RVReservationInfo>(booking(u"L1"_s, u"0"_s))};
        QVERIFY(mine.saveList(list) && theirs.saveList(list));
        QVERIFY(RVBookingStore::remove(u"7"_s));
        QVERIFY(!QFile::exists(mine.filePath()));
        QVERIFY(mine.bookings().isEmpty() && !mine.lastRefresh());
        QCOMPARE(theirs.bookings().size(), 1);
        // A reminder confirmed after the logout must not bring the file back.
        QVERIFY(!mine.markReminderShown(u"L1"_s, QDateTime::currentDateTimeUtc()));
        QVERIFY(!QFile::exists(mine.filePath()));
    }

    // A worker that ends after the logout writes and reads nothing: the store stays deleted, and
    // the next login's store is a new one.
    void aStoreTakenBeforeTheLogoutStaysDeleted_data()
    {
        QTest::addColumn<int>("write");
        QTest::newRow("a list read") << 0;
        QTest::newRow("a watch added") << 1;
        QTest::newRow("a hospital kept") << 2;
    }
    void aStoreTakenBeforeTheLogoutStaysDeleted()
    {
        QFETCH(int, write);
        const std::function<bool(const RVBookingStore &)> writes[] = {
            [](auto &store) { return store.saveList({RVReservationInfo()}); },
            [](auto &store) { return store.addWatch(RVWatch({}, {})) == RVWatch::Added::Added; },
            [](auto &store) {
                return store.saveHospital(RVBaseInfo::fromDictionary<RVHospitalInfo>(
                    QJsonObject{{u"hospid"_s, u"H1"_s}}));
            }};
        const RVBookingStore before(u"7"_s), theirs(u"8"_s);
        QVERIFY(theirs.saveList({}));
        RVBookingStore::endAll(); // the deletion itself comes later
        QVERIFY(!writes[write](before));
        QVERIFY(!QFile::exists(before.filePath()));
        const RVBookingStore after(u"7"_s);
        QVERIFY(writes[write](after));
        QVERIFY(!QFile::exists(theirs.filePath()));
        QVERIFY(RVBookingStore::removeEnded() && QFile::exists(after.filePath()));
        QVERIFY(before.bookings().isEmpty() && before.watches().isEmpty() &&
                !before.hospital(u"H1"_s));
    }

    // A file that is not this user's store is replaced by one written from the next list.
    void aForeignFileIsReplaced_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("not a database") << u"garbage"_s;
        QTest::newRow("another layout") << u"layout"_s;
        QTest::newRow("another user's store") << u"user"_s;
    }
    void aForeignFileIsReplaced()
    {
        QFETCH(QString, kind);
        const RVBookingStore store(u"7"_s), other(u"8"_s);
        const RVBookingStore::Bookings list{
            RVBaseInfo::fromDictionary<RVReservationInfo>(booking(u"L9"_s, u"0"_s))};
        QVERIFY(other.saveList(list));
        if (kind == u"user") {
            QVERIFY(QFile::copy(other.filePath(), store.filePath()));
        } else if (kind == u"garbage") {
            QFile file(store.filePath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, '\x5a'));
        } else {
            auto db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"old"_s);
            db.setDatabaseName(store.filePath());
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(u"CREATE TABLE bookings (id INTEGER)"_s, db).isActive());
            QVERIFY(QSqlQuery(u"PRAGMA user_version = 7"_s, db).isActive());
            db.close();
        }
        QSqlDatabase::removeDatabase(u"old"_s);
        QVERIFY(store.bookings().isEmpty());
        QVERIFY(store.saveList(
            {RVBaseInfo::fromDictionary<RVReservationInfo>(booking(u"L1"_s, u"0"_s))}));
        QCOMPARE(keysAndStates(store.bookings()), QStringList{u"L1=0"_s});
        QCOMPARE(QFile::permissions(store.filePath()),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(other.bookings().size(), 1);
    }

    // A first-layout store (this one less its reminders and watches) keeps its bookings and
    // gains both.
    void aFirstLayoutStoreIsUpgraded()
    {
        const RVBookingStore store(u"7"_s);
        QVERIFY(store.saveList(
            {RVBaseInfo::fromDictionary<RVReservationInfo>(booking(u"L1"_s, u"0"_s))}));
        {
            auto db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"first"_s);
            db.setDatabaseName(store.filePath());
            QVERIFY(db.open() && QSqlQuery(u"DROP TABLE reminders"_s, db).isActive());
            QVERIFY(QSqlQuery(u"DROP TABLE watches"_s, db).isActive());
            QVERIFY(QSqlQuery(u"PRAGMA user_version = 1"_s, db).isActive());
        }
        QSqlDatabase::removeDatabase(u"first"_s);
        QVERIFY(store.markReminderShown(u"L1|day"_s));
        QCOMPARE(store.shownReminders(), QSet<QString>{u"L1|day"_s});
        QCOMPARE(store.addWatch(RVWatch({}, {})), RVWatch::Added::Added);
        QCOMPARE(keysAndStates(store.bookings()), QStringList{u"L1=0"_s});
    }

    // Every screen and the poller learn of a watch added or ended from the store itself.
    void watchChangesAreAnnounced_data()
    {
        QTest::addColumn<QString>("steps"); // "+day" adds a watch on that day, "-day" ends it
        QTest::addColumn<int>("announced");
        QTest::newRow("added twice") << u"+1 +1"_s << 1;
        QTest::newRow("added and ended") << u"+1 -1"_s << 2;
        QTest::newRow("ending one not kept") << u"+1 -2"_s << 1;
    }
    void watchChangesAreAnnounced()
    {
        QFETCH(QString, steps);
        int announced = 0;
        platform::NotificationCenter::defaultCenter().addObserver(
            this, RVWatch::changedNotification(), nullptr,
            [&announced](const platform::Notification &) { ++announced; });
        for (const QString &step : steps.split(u' ')) {
            RVDoctorScheduleInfo half;
            half.setJzrq(step.mid(1));
            const RVWatch watch({}, half);
            step.startsWith(u'+') ? void(RVBookingStore(u"7"_s).addWatch(watch))
                                  : void(RVBookingStore(u"7"_s).removeWatch(watch.key()));
        }
        platform::NotificationCenter::defaultCenter().removeObserver(this);
        QTEST(announced, "announced");
    }
};

QTEST_GUILESS_MAIN(TestRVBookingStore)
#include "tst_rvbookingstore.moc"
