// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "bookingtestservice.h"
#include "models/rvbooking.h"

#include <QJsonArray>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRVBooking : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void summaryAndBrxbFollowXb_data()
    {
        QTest::addColumn<int>("xb");
        QTest::addColumn<QString>("line");
        QTest::newRow("1 is male") << 1 << u"性别：男"_s;
        QTest::newRow("2 is female") << 2 << u"性别：女"_s;
        QTest::newRow("0 shows nothing") << 0 << QString();
        QTest::newRow("3 shows nothing") << 3 << QString();
        QTest::newRow("negative shows nothing") << -1 << QString();
    }
    void summaryAndBrxbFollowXb()
    {
        QFETCH(int, xb);
        QFETCH(QString, line);
        const RVBooking b = BookingTestService::choice().bookingOf(BookingTestService::patient(xb));
        const QStringList expected{u"姓名：李四"_s,
                                   u"手机号码：13800000000"_s,
                                   line,
                                   u"身份证号：110101199003070011"_s,
                                   u"预约时间：2013-05-20 08:30:00"_s,
                                   u"预约医院：第一医院"_s,
                                   u"预约科室：心血管内科"_s,
                                   u"预约医生：王医生"_s};
        QCOMPARE(b.summary(), expected);
        QCOMPARE(b.record().brxb(), QJsonValue(QString::number(xb)));
    }

    // The record is the booking and nothing else, field by field.
    void recordIsExactlyTheBooking_data()
    {
        QTest::addColumn<bool>("withAddress");
        QTest::newRow("complete user record") << true;
        QTest::newRow("no address: lxdz left out") << false;
    }
    void recordIsExactlyTheBooking()
    {
        QFETCH(bool, withAddress);
        QJsonObject expected{{u"yhid"_s, u"7"_s},
                             {u"hospid"_s, u"H1"_s},
                             {u"pbid"_s, u"P42"_s},
                             {u"ysdm"_s, u"D7"_s},
                             {u"brxm"_s, u"李四"_s},
                             {u"sjhm"_s, u"13800000000"_s},
                             {u"sfzhm"_s, u"110101199003070011"_s},
                             {u"csny"_s, u"1990-03-07"_s},
                             {u"brxb"_s, u"2"_s},
                             {u"fzxh"_s, u"3"_s},
                             {u"yysj"_s, u"2013-05-20 08:30:00"_s},
                             {u"ksbm"_s, u"K03"_s},
                             {u"bcbm"_s, u"1"_s},
                             {u"jzrq"_s, u"2013-05-20 08:30:00"_s},
                             {u"yzhm"_s, u"570461"_s}};
        if (withAddress)
            expected.insert(u"lxdz"_s, u"北京市东城区"_s);
        const auto user = BookingTestService::patient(2, withAddress);
        QCOMPARE(BookingTestService::choice().bookingOf(user).record().body_dict(), expected);
    }

    void timeWithAbsentParts_data()
    {
        QTest::addColumn<QString>("jzrq");
        QTest::addColumn<QString>("yysj");
        QTest::addColumn<QString>("time");
        QTest::newRow("both present") << u"2013-05-20"_s << u"08:30"_s << u"2013-05-20 08:30:00"_s;
        QTest::newRow("day absent") << QString() << u"08:30"_s << u" 08:30:00"_s;
        QTest::newRow("time absent") << u"2013-05-20"_s << QString() << u"2013-05-20 :00"_s;
    }
    void timeWithAbsentParts()
    {
        QFETCH(QString, jzrq);
        QFETCH(QString, yysj);
        QFETCH(QString, time);
        RVDoctorScheduleInfo half;
        half.setJzrq(RVBaseInfo::valueOf(jzrq));
        RVDoctorTimeSchedule slot;
        slot.setYysj(RVBaseInfo::valueOf(yysj));
        const RVReservationInfo record =
            RVBooking(RVUserInfo(), RVDoctorInfo(), half, slot).record();
        QCOMPARE(record.yysj(), QJsonValue(time));
        QCOMPARE(record.jzrq(), QJsonValue(time));
        // An empty user gives the sex 0 and leaves every copied field out.
        QCOMPARE(record.body_dict().keys(),
                 (QStringList{u"brxb"_s, u"jzrq"_s, u"yysj"_s, u"yzhm"_s}));
        QCOMPARE(record.brxb(), QJsonValue(u"0"_s));
    }

    // A refusal is final; a lost answer is settled by the history, where only an open booking
    // of the same slot counts as made.
    void lostAnswerIsSettledByTheHistory_data()
    {
        QTest::addColumn<bool>("answered");
        QTest::addColumn<QJsonValue>("fzxh");
        QTest::addColumn<QJsonValue>("yyzt");
        QTest::addColumn<bool>("booked");
        const QJsonValue slot(u"3"_s), open(u"0"_s);
        QTest::newRow("refused, though the history holds it") << true << slot << open << false;
        QTest::newRow("lost, the history holds it open") << false << slot << open << true;
        QTest::newRow("lost, held but cancelled") << false << slot << QJsonValue(u"1"_s) << false;
        QTest::newRow("lost, another slot held") << false << QJsonValue(u"4"_s) << open << false;
        QTest::newRow("lost, a status that is not the text 0")
            << false << slot << QJsonValue(0) << false;
    }
    void lostAnswerIsSettledByTheHistory()
    {
        QFETCH(bool, answered);
        QFETCH(QJsonValue, fzxh);
        QFETCH(QJsonValue, yyzt);
        QFETCH(bool, booked);
        BookingTestService service;
        BookingTestService::logIn(BookingTestService::patient());
        service.answer(u"C001"_s, BookingTestService::reply(false, u"该时段已约满"_s));
        if (!answered)
            service.lose(u"C001"_s, FakeService::Ending::CloseWithoutAnswer);
        const QJsonArray held{
            QJsonObject{{u"pbid"_s, u"P42"_s}, {u"fzxh"_s, fzxh}, {u"yyzt"_s, yyzt}}};
        service.answer(u"C002"_s, BookingTestService::reply(true, u"查询成功"_s, &held));

        const auto b = BookingTestService::choice().bookingOf(BookingTestService::patient());
        const RVBooking::Outcome outcome = b.book();
        QCOMPARE(outcome.ok, booked);
        QCOMPARE(outcome.confirmedByHistory, booked);
        QCOMPARE(outcome.message == u"预约成功", booked);
        QCOMPARE(service.received(u"C001"_s).first().body, b.record().body_dict());
        QCOMPARE(service.received(u"C002"_s).size(), answered ? 0 : 1);
    }
};

QTEST_GUILESS_MAIN(TestRVBooking)
#include "tst_rvbooking.moc"
