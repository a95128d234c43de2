// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvhalfdayname.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestRVHalfDayName : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void names_data()
    {
        QTest::addColumn<QJsonValue>("bcbm");
        QTest::addColumn<QJsonValue>("jlzt");
        QTest::addColumn<QJsonValue>("kyrs");
        QTest::addColumn<QString>("name");
        QTest::newRow("open morning, count as text")
            << QJsonValue(u"1"_s) << QJsonValue(u"0"_s) << QJsonValue(u"5"_s)
            << u"12月8日 上午 预约 余5"_s;
        QTest::newRow("open afternoon, count as a number")
            << QJsonValue(2) << QJsonValue(0) << QJsonValue(12) << u"12月8日 下午 预约 余12"_s;
        QTest::newRow("fully booked") << QJsonValue(u"2"_s) << QJsonValue(u"0"_s)
                                      << QJsonValue(u"0"_s) << u"12月8日 下午 约满"_s;
        QTest::newRow("stopped, though places are left")
            << QJsonValue(u"1"_s) << QJsonValue(u"1"_s) << QJsonValue(u"3"_s)
            << u"12月8日 上午 停诊"_s;
        QTest::newRow("unknown shift names no half")
            << QJsonValue(u"3"_s) << QJsonValue(u"0"_s) << QJsonValue(u"0"_s) << u"12月8日 约满"_s;
    }
    void names()
    {
        QFETCH(QJsonValue, bcbm);
        QFETCH(QJsonValue, jlzt);
        QFETCH(QJsonValue, kyrs);
        QFETCH(QString, name);
        RVDoctorScheduleInfo schedule;
        schedule.setBcbm(bcbm);
        schedule.setJlzt(jlzt);
        schedule.setKyrs(kyrs);
        QCOMPARE(RVHalfDayName::of(QDate(2026, 12, 8), schedule), name);
    }
};

QTEST_GUILESS_MAIN(TestRVHalfDayName)
#include "tst_rvhalfdayname.moc"
