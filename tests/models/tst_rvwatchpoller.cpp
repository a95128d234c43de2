// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "bookingtestservice.h"
#include "models/rvbookingstore.h"
#include "models/rvwatchpoller.h"
#include "protocols/rvprotocol.h"
#include "protocols/rvuserregister.h"
#include "service/rvservicethread.h"

#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;
using std::chrono::milliseconds;

namespace
{
const QString yhid = u"7"_s;

RVWatch watchOn(const QString &ysdm, const QString &jzrq, int bcbm = 1)
{
    return {RVBaseInfo::fromDictionary<RVDoctorInfo>(
                QJsonObject{{u"hospid"_s, u"H1"_s}, {u"ysdm"_s, ysdm}, {u"ysmc"_s, u"王医生"_s}}),
            RVBaseInfo::fromDictionary<RVDoctorScheduleInfo>(QJsonObject{
                {u"jzrq"_s, jzrq}, {u"bcbm"_s, QString::number(bcbm)}, {u"kyrs"_s, u"0"_s}})};
}

QString day(int fromToday)
{
    return QDate::currentDate().addDays(fromToday).toString(u"yyyy-MM-dd"_s);
}

// The doctor's first morning from tomorrow that takes bookings.
RVDoctorScheduleInfo openMorning(const RVDoctorInfo &doctor)
{
    const auto days = RVProtocol().doctorScheduleForHospital({}, RVBaseInfo::text(doctor.hospid()),
                                                             RVBaseInfo::text(doctor.ysdm()));
    for (int i = 1; i < 14; ++i) {
        for (const RVDoctorScheduleInfo &half : days->value(day(i))) {
            if (RVBaseInfo::intValue(half.bcbm()) == 1 && RVBaseInfo::intValue(half.jlzt()) == 0 &&
                RVBaseInfo::intValue(half.kyrs()) > 0)
                return half;
        }
    }
    return {};
}

// A user registered (and so logged in) on the service.
RVUserInfo newUser(const QString &yhm)
{
    RVUserRegister form;
    form.setYhm(yhm);
    form.setMm(u"secret1"_s);
    form.setXm(u"测试用户"_s);
    form.setSfzhm(u"330102199001011234"_s);
    form.setSjhm(u"13900001111"_s);
    return RVProtocol().userRegister(form.body_dict()).value_or(RVUserInfo());
}
} // namespace

class TestRVWatchPoller : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { QVERIFY(RVBookingStore::remove(yhid)); }

    void fiveWatchesAtMost()
    {
        const RVBookingStore store(yhid);
        for (int i = 0; i < RVWatch::kMaxWatches; ++i)
            QCOMPARE(store.addWatch(watchOn(u"D%1"_s.arg(i), day(1))), RVWatch::Added::Added);
        QCOMPARE(store.addWatch(watchOn(u"D0"_s, day(1))), RVWatch::Added::AlreadyWatched);
        QCOMPARE(store.addWatch(watchOn(u"D9"_s, day(1))), RVWatch::Added::Full);
        QVERIFY(store.removeWatch(watchOn(u"D2"_s, day(1)).key()));
        QVERIFY(!store.removeWatch(watchOn(u"D2"_s, day(1)).key()));
        QCOMPARE(store.addWatch(watchOn(u"D9"_s, day(1))), RVWatch::Added::Added);
        QCOMPARE(store.watches().size(), RVWatch::kMaxWatches);
    }

    // Past and booked half-days end without a request; the others are asked once per doctor.
    void roundEndsPastAndBookedWatches_data()
    {
        QTest::addColumn<QString>("jzrq");
        QTest::addColumn<QString>("bookingState");
        QTest::addColumn<int>("requests");
        QTest::newRow("yesterday") << day(-1) << QString() << 0;
        QTest::newRow("unreadable day") << u"20261301"_s << QString() << 0;
        QTest::newRow("booked") << day(2) << u"0"_s << 0;
        QTest::newRow("booking cancelled") << day(2) << u"1"_s << 1;
        QTest::newRow("today") << day(0) << QString() << 1;
    }
    void roundEndsPastAndBookedWatches()
    {
        QFETCH(QString, jzrq);
        QFETCH(QString, bookingState);
        QFETCH(int, requests);
        BookingTestService service;
        service.answer(u"B008"_s, BookingTestService::reply(true, u"成功"_s));
        const RVBookingStore store(yhid);
        if (!bookingState.isEmpty()) {
            QVERIFY(store.saveList({RVBaseInfo::fromDictionary<RVReservationInfo>(
                QJsonObject{{u"yylsh"_s, u"L1"_s},
                            {u"yyzt"_s, bookingState},
                            {u"ysdm"_s, u"D1"_s},
                            {u"jzrq"_s, jzrq},
                            {u"bcbm"_s, 1}})}));
        }
        QCOMPARE(store.addWatch(watchOn(u"D1"_s, jzrq)), RVWatch::Added::Added);
        const RVWatchPoller::Round round = RVWatchPoller::round(
            RVUserStore::of(BookingTestService::patient()), QDate::currentDate());
        QCOMPARE(service.received(u"B008"_s).size(), requests);
        QCOMPARE(round.remaining, requests);
        QVERIFY(round.hits.isEmpty() && !round.failed);
    }

    // While the service fails, one request per round, the pause doubling to the ceiling; a
    // success brings it back.
    void backsOffWhileTheServiceFails()
    {
        BookingTestService service;
        service.answer(u"B008"_s, BookingTestService::reply(true, u"成功"_s));
        service.lose(u"B008"_s, FakeService::Ending::CloseWithoutAnswer);
        const RVBookingStore store(yhid);
        QCOMPARE(store.addWatch(watchOn(u"D1"_s, day(1))), RVWatch::Added::Added);
        QCOMPARE(store.addWatch(watchOn(u"D2"_s, day(1))), RVWatch::Added::Added);
        RVWatchPoller poller(RVUserStore::of(BookingTestService::patient()));
        poller.setTiming({milliseconds(20), milliseconds(0), milliseconds(160)});
        QSignalSpy scheduled(&poller, &RVWatchPoller::roundScheduled);
        poller.refresh();
        QTRY_COMPARE_WITH_TIMEOUT(scheduled.size(), 6, 10000);
        QList<qint64> pauses;
        for (const QList<QVariant> &args : scheduled)
            pauses << args.at(0).toLongLong();
        QCOMPARE(pauses, (QList<qint64>{20, 40, 80, 160, 160, 160}));
        QCOMPARE(service.received(u"B008"_s).size(), 5);

        service.lose(u"B008"_s, FakeService::Ending::KeepOpen);
        QTRY_VERIFY_WITH_TIMEOUT(scheduled.size() >= 8, 10000);
        QCOMPARE(scheduled.at(7).at(0).toLongLong(), 20);
    }

    // Against the service: a half-day booked full by one account, watched by another, reports
    // once when the first account cancels, and the watch ends.
    void reportsAPlaceFreedByACancel()
    {
        RVServiceThread serviceThread;
        QString error;
        QVERIFY2(serviceThread.startService(&error), qPrintable(error));
        RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, serviceThread.port());
        const RVUserInfo other = newUser(u"13900000001"_s);
        QVERIFY(other.state());
        const RVDoctorInfo doctor = RVProtocol().doctorList({}, {}, {}, {}, 1, 1)->value(0);
        const RVDoctorScheduleInfo half = openMorning(doctor);
        QVERIFY(!RVBaseInfo::text(half.pbid()).isEmpty());
        const auto slots =
            RVProtocol().doctorDayScheduleForScheduleId(RVBaseInfo::text(half.pbid()));
        for (const RVDoctorTimeSchedule &slot : slots.value_or(QList<RVDoctorTimeSchedule>())) {
            RVProtocol().reseration(RVBaseInfo::fromDictionary<RVReservationInfo>(
                QJsonObject{{u"yhid"_s, other.yhid()},
                            {u"hospid"_s, half.hospid()},
                            {u"pbid"_s, half.pbid()},
                            {u"fzxh"_s, slot.fzxh()},
                            {u"ysdm"_s, half.ysdm()}}));
        }
        const auto history =
            RVProtocol().reserationHistoryListWithTime({}, RVBaseInfo::text(other.yhid()), {});
        QVERIFY(history && !history->isEmpty());
        QCOMPARE(RVBookingStore(yhid).addWatch({doctor, half}), RVWatch::Added::Added);

        RVWatchPoller poller(RVUserStore::of(BookingTestService::patient()));
        poller.setTiming({milliseconds(50), milliseconds(0), milliseconds(400)});
        QSignalSpy scheduled(&poller, &RVWatchPoller::roundScheduled);
        QSignalSpy found(&poller, &RVWatchPoller::placesFound);
        poller.refresh();
        QTRY_VERIFY_WITH_TIMEOUT(scheduled.size() >= 3, 10000);
        QVERIFY(found.isEmpty());
        QVERIFY(RVProtocol().removeReserationWithUserId(RVBaseInfo::text(other.yhid()),
                                                        RVBaseInfo::text(history->at(0).yylsh())));
        QVERIFY(found.wait(2000));
        const auto hit = found.at(0).at(0).value<RVWatch>();
        QCOMPARE(hit.hitText(), u"%1 %2 上午 有号了"_s.arg(RVBaseInfo::text(doctor.ysmc()),
                                                           RVBaseInfo::text(half.jzrq())));
        QTRY_VERIFY(!poller.isScheduled());
        QVERIFY(RVBookingStore(yhid).watches().isEmpty());
        QCOMPARE(found.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestRVWatchPoller)
#include "tst_rvwatchpoller.moc"
