// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvbookingcalendar.h"

#include <QTest>

using namespace Qt::StringLiterals;

// A cancelled booking stays in the file so that a calendar removes it, but it must not remind.
class TestRVBookingCalendar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cancelledEventHasNoAlarm_data()
    {
        QTest::addColumn<QString>("yyzt");
        QTest::addColumn<int>("alarms");
        QTest::addColumn<QString>("summary");
        QTest::newRow("open") << u"0"_s << 2 << u"SUMMARY:挂号：内科 王医生"_s;
        QTest::newRow("cancelled") << u"1"_s << 0 << u"SUMMARY:已取消：挂号：内科 王医生"_s;
        QTest::newRow("state unknown") << QString() << 0 << u"SUMMARY:已取消：挂号：内科 王医生"_s;
    }
    void cancelledEventHasNoAlarm()
    {
        QFETCH(QString, yyzt);
        QFETCH(int, alarms);
        QFETCH(QString, summary);
        QJsonObject record{{u"yylsh"_s, u"L1"_s},
                           {u"jzrq"_s, u"2026-03-02 09:30"_s},
                           {u"bzksmc"_s, u"内科"_s},
                           {u"ysmc"_s, u"王医生"_s}};
        if (!yyzt.isNull())
            record.insert(u"yyzt"_s, yyzt);
        const QString file = QString::fromUtf8(RVBookingCalendar::write(
            {{RVBaseInfo::fromDictionary<RVReservationInfo>(record), std::nullopt}}, u"h"_s));
        QCOMPARE(file.count(u"BEGIN:VALARM"_s), alarms);
        QVERIFY2(file.contains(summary + u"\r\n"_s), qPrintable(file));
    }
};

QTEST_GUILESS_MAIN(TestRVBookingCalendar)
#include "tst_rvbookingcalendar.moc"
