// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// The texts of list bodies written as JSON: whatever a stored text holds, it parses back to
// itself. (That every list reply reads back through its record is the router's test.)
#include "service/rvservicelistwriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRVServiceListWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textsReadBack_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << u""_s;
        QTest::newRow("chinese") << u"滨江市第一人民医院"_s;
        QTest::newRow("quote and backslash") << u"say \"hi\" \\ bye \\\""_s;
        QTest::newRow("control characters") << u"a\nb\tc\rd\u0001e\u001f"_s;
        QTest::newRow("beyond the basic plane") << u"😀𠀀"_s;
        QTest::newRow("closing brackets") << u"}]},{\"x\":\"y"_s;
    }

    void textsReadBack()
    {
        QFETCH(QString, text);
        QByteArray json = "[";
        RVServiceListWriter::appendString(json, text);
        QJsonParseError error{};
        const QJsonArray parsed = QJsonDocument::fromJson(json + ']', &error).array();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(parsed, QJsonArray{text});
    }
};

QTEST_GUILESS_MAIN(TestRVServiceListWriter)
#include "tst_rvservicelistwriter.moc"
