// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvlogmasking.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestRVLogMasking : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void masked_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("logged");
        QTest::newRow("secrets and the user record, any value")
            << u"{\"mm\":\"a\\\"b\",\"yymm\":1,\"gzmy\" : null,\"sfzhm\":\"3301\",\"sjhm\":139,"
               "\"dz\":\"滨江\",\"xm\":\"李四\",\"csny\":\"1990-01-01\"}"_s
            << u"{\"mm\":\"***\",\"yymm\":\"***\",\"gzmy\" : \"***\",\"sfzhm\":\"***\",\"sjhm\":"
               "\"***\",\"dz\":\"***\",\"xm\":\"***\",\"csny\":\"***\"}"_s;
        QTest::newRow("a booking in a list, doctor kept")
            << uR"({"list":[{"brxm":"张三","lxdz":"x","ysmc":"王医生","ysdm":"7"}]})"_s
            << uR"({"list":[{"brxm":"***","lxdz":"***","ysmc":"王医生","ysdm":"7"}]})"_s;
        QTest::newRow("name of 11")
            << uR"({"yhm":"13800138000"})"_s << uR"({"yhm":"138****8000"})"_s;
        QTest::newRow("name of 13")
            << uR"({"yhm":"zhang-san1990"})"_s << uR"({"yhm":"zha****1990"})"_s;
        QTest::newRow("name of 10") << uR"({"yhm":"0123456789"})"_s << uR"({"yhm":"****"})"_s;
        QTest::newRow("name escaped") << u"{\"yhm\":\"13\\\"80138000\"}"_s << uR"({"yhm":"***"})"_s;
    }

    void masked()
    {
        QFETCH(QString, text);
        QTEST(RVLogMasking::masked(text), "logged");
    }
};

QTEST_APPLESS_MAIN(TestRVLogMasking)
#include "tst_rvlogmasking.moc"
