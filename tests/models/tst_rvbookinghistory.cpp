// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "bookingtestservice.h"
#include "models/rvbookinghistory.h"

#include <QJsonArray>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRVBookingHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void onlyTheText0IsOpen_data()
    {
        QTest::addColumn<QJsonValue>("yyzt");
        QTest::addColumn<bool>("open");
        QTest::newRow("0 is open") << QJsonValue(u"0"_s) << true;
        QTest::newRow("2 is done") << QJsonValue(u"2"_s) << false;
        QTest::newRow("absent is not open") << QJsonValue(QJsonValue::Undefined) << false;
        QTest::newRow("00 is not the text 0") << QJsonValue(u"00"_s) << false;
        QTest::newRow("the number 0 is not the text 0") << QJsonValue(0) << false;
    }
    void onlyTheText0IsOpen()
    {
        QFETCH(QJsonValue, yyzt);
        QFETCH(bool, open);
        const RVBookingHistory history(
            {RVBaseInfo::fromDictionary<RVReservationInfo>(QJsonObject{{u"yyzt"_s, yyzt}})});
        QCOMPARE(history.canCancel(0), open);
    }

    // Without the service a list once kept stands in, but nothing in it can be cancelled.
    void keptListIsShownButNotCancelled_data()
    {
        QTest::addColumn<RVBookingHistory::Shown>("shown");
        QTest::addColumn<bool>("usable");
        const auto when = std::optional(QDateTime::currentDateTime());
        QTest::newRow("from the service")
            << RVBookingHistory::Shown{true, {}, {}, false, when} << true;
        QTest::newRow("kept, unreachable")
            << RVBookingHistory::Shown{false, {}, {}, true, when} << true;
        QTest::newRow("never listed") << RVBookingHistory::Shown{false, {}, {}, true, {}} << false;
        QTest::newRow("refused") << RVBookingHistory::Shown{false, {}, {}, false, when} << false;
    }
    void keptListIsShownButNotCancelled()
    {
        QFETCH(RVBookingHistory::Shown, shown);
        shown.bookings = {
            RVBaseInfo::fromDictionary<RVReservationInfo>(QJsonObject{{u"yyzt"_s, u"0"_s}})};
        QTEST(shown.usable(), "usable");
        QCOMPARE(RVBookingHistory(shown).canCancel(0), !shown.offline);
    }

    // Without an answer to the cancel, the history tells whether the service cancelled; a
    // refusal is final, whatever its text. The cancel is never sent again.
    void lostCancelAnswerIsSettledByTheHistory_data()
    {
        QTest::addColumn<bool>("answered");
        QTest::addColumn<QString>("yyztAfter");
        QTest::addColumn<QString>("refusal");
        const QString done = u"该预约已就诊，不能取消"_s;
        QTest::newRow("no answer, cancelled") << false << u"1"_s << done;
        QTest::newRow("no answer, still open") << false << u"0"_s << done;
        QTest::newRow("refused, the refusal is final") << true << u"1"_s << done;
        QTest::newRow("refused in the words of an unreadable reply")
            << true << u"1"_s << u"网络出错。"_s;
    }
    void lostCancelAnswerIsSettledByTheHistory()
    {
        QFETCH(bool, answered);
        QFETCH(QString, yyztAfter);
        QFETCH(QString, refusal);
        BookingTestService service;
        BookingTestService::logIn(RVUserInfo());
        const QJsonArray after{QJsonObject{{u"yylsh"_s, u"L1"_s}, {u"yyzt"_s, u"0"_s}},
                               QJsonObject{{u"yylsh"_s, u"L2"_s}, {u"yyzt"_s, yyztAfter}}};
        service.answer(u"C002"_s, BookingTestService::reply(true, u"查询成功"_s, &after));
        service.answer(u"C005"_s, BookingTestService::reply(false, refusal));
        if (!answered)
            service.lose(u"C005"_s, FakeService::Ending::CloseWithoutAnswer);
        const auto outcome = RVBookingHistory::cancel({}, u"L2"_s);
        QCOMPARE(outcome.ok, !answered && yyztAfter == u"1");
        QCOMPARE(outcome.yylsh, u"L2"_s);
        QCOMPARE(service.received(u"C005"_s).size(), 1);
        QCOMPARE(service.received(u"C002"_s).size(), answered ? 0 : 1);
    }
};

QTEST_GUILESS_MAIN(TestRVBookingHistory)
#include "tst_rvbookinghistory.moc"
