// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvhalfdayname.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRVHalfDayName : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void names_data()
    {
        QTest::addColumn<QString>("schedule");
        QTest::addColumn<QString>("name");
        QTest::newRow("open morning")
            << u"{\"bcbm\":\"1\",\"jlzt\":\"0\",\"kyrs\":\"5\"}"_s << u"12月8日 上午 预约 余5"_s;
        QTest::newRow("open afternoon, numbers")
            << u"{\"bcbm\":2,\"jlzt\":0,\"kyrs\":12}"_s << u"12月8日 下午 预约 余12"_s;
        QTest::newRow("fully booked")
            << u"{\"bcbm\":\"2\",\"jlzt\":\"0\",\"kyrs\":\"0\"}"_s << u"12月8日 下午 约满"_s;
        QTest::newRow("stopped, places left")
            << u"{\"bcbm\":\"1\",\"jlzt\":\"1\",\"kyrs\":\"3\"}"_s << u"12月8日 上午 停诊"_s;
        QTest::newRow("unknown shift: no half")
            << u"{\"bcbm\":\"3\",\"jlzt\":\"0\",\"kyrs\":\"0\"}"_s << u"12月8日 约满"_s;
    }
    void names()
    {
        QFETCH(QString, schedule);
        QFETCH(QString, name);
        RVDoctorScheduleInfo info;
        info.bodyWithDictionary(QJsonDocument::fromJson(schedule.toUtf8()).object());
        QCOMPARE(RVHalfDayName::of(QDate(2026, 12, 8), info), name);
    }
};

QTEST_GUILESS_MAIN(TestRVHalfDayName)
#include "tst_rvhalfdayname.moc"
