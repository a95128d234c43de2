// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvschedulegrid.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(RVScheduleGrid::Column)

class TestRVScheduleGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Around New Year the week-based year differs from the calendar year; the days must still
    // find their schedules.
    void rowsAreTheDaysFromToday_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("label");
        QTest::newRow("row 13 across the year end") << QDate(2026, 12, 25) << 13 << u"1.7"_s;
        QTest::newRow("31 December seen from 29 December")
            << QDate(2025, 12, 29) << 2 << u"12.31"_s;
        QTest::newRow("1 January, last week of the year before")
            << QDate(2027, 1, 1) << 0 << u"1.1"_s;
        QTest::newRow("3 January seen from 1 January") << QDate(2027, 1, 1) << 2 << u"1.3"_s;
    }
    void rowsAreTheDaysFromToday()
    {
        QFETCH(QDate, today);
        QFETCH(int, row);
        QFETCH(QString, label);
        const QString jzrq = today.addDays(row).toString(u"yyyy-MM-dd"_s);
        const RVScheduleGrid grid(today, {{jzrq, {RVDoctorScheduleInfo()}}});
        QCOMPARE(grid.dayLabel(row), label);
        for (int r = 0; r < RVScheduleGrid::kDays; ++r)
            QCOMPARE(grid.schedulesOf(r).size(), r == row ? 1 : 0);
    }

    void halfDayShowsItsState_data()
    {
        using C = RVScheduleGrid::Column;
        QTest::addColumn<QJsonValue>("jlzt");
        QTest::addColumn<QJsonValue>("kyrs");
        QTest::addColumn<QJsonValue>("bcbm");
        QTest::addColumn<QString>("title"); // none when stopped, the count otherwise
        QTest::addColumn<C>("column");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("key"); // "%d0%d" of shift and row, on row 12
        const QJsonValue zero(u"0"_s), absent(QJsonValue::Undefined);
        QTest::newRow("stopped") << QJsonValue(u"1"_s) << QJsonValue(u"4"_s) << QJsonValue(u"2"_s)
                                 << QString() << C::Afternoon << false << u"2012"_s;
        QTest::newRow("full") << zero << zero << QJsonValue(u"1"_s) << u"0"_s << C::Morning << false
                              << u"1012"_s;
        QTest::newRow("open, count and shift sent as numbers")
            << zero << QJsonValue(12) << QJsonValue(1) << u"12"_s << C::Morning << true
            << u"1012"_s;
        QTest::newRow("state absent counts as held")
            << absent << QJsonValue(u"2"_s) << QJsonValue(u"2"_s) << u"2"_s << C::Afternoon << true
            << u"2012"_s;
        QTest::newRow("unknown shift: in no column")
            << zero << QJsonValue(u"5"_s) << QJsonValue(u"3"_s) << u"5"_s << C::None << true
            << u"3012"_s;
    }
    void halfDayShowsItsState()
    {
        QFETCH(QJsonValue, jlzt);
        QFETCH(QJsonValue, kyrs);
        QFETCH(QJsonValue, bcbm);
        QFETCH(QString, title);
        QFETCH(RVScheduleGrid::Column, column);
        QFETCH(bool, opens);
        QFETCH(QString, key);
        const QDate today(2026, 5, 7);
        const QString jzrq = today.addDays(12).toString(u"yyyy-MM-dd"_s);
        const auto schedule = RVBaseInfo::fromDictionary<RVDoctorScheduleInfo>(QJsonObject{
            {u"jzrq"_s, jzrq}, {u"bcbm"_s, bcbm}, {u"jlzt"_s, jlzt}, {u"kyrs"_s, kyrs}});
        QCOMPARE(RVScheduleGrid::title(schedule), title);
        QCOMPARE(RVScheduleGrid::columnOf(schedule), column);
        // Only an open half-day is opened by its key, and only by its own.
        const RVScheduleGrid grid(today, {{jzrq, {schedule}}});
        QCOMPARE(RVScheduleGrid::buttonKey(schedule, 12), key);
        QCOMPARE(grid.halfDayToOpen(key).has_value(), opens);
        QVERIFY(!grid.halfDayToOpen(RVScheduleGrid::buttonKey(schedule, 11)));
    }
};

QTEST_GUILESS_MAIN(TestRVScheduleGrid)
#include "tst_rvschedulegrid.moc"
