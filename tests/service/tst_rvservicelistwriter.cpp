// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// List bodies written as JSON text: whatever the stored texts hold, the text parses back to
// the same values, NULL columns left out.
#include "service/rvservicelistwriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRVServiceListWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rowsReadBack_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << u"D0001"_s;
        QTest::newRow("empty") << u""_s;
        QTest::newRow("chinese") << u"滨江市第一人民医院"_s;
        QTest::newRow("quote and backslash") << u"say \"hi\" \\ bye \\\""_s;
        QTest::newRow("control characters") << u"a\nb\tc\rd\u0001e\u001f"_s;
        QTest::newRow("beyond the basic plane") << u"😀𠀀"_s;
        QTest::newRow("closing brackets") << u"}]},{\"x\":\"y"_s;
    }

    void rowsReadBack()
    {
        QFETCH(QString, value);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"writer"_s);
            db.setDatabaseName(u":memory:"_s);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.prepare(u"SELECT ?, NULL, 7 UNION ALL SELECT 'second', ?, NULL"_s));
            query.addBindValue(value);
            query.addBindValue(value);
            QVERIFY(query.exec());
            RVServiceListWriter writer;
            while (query.next())
                writer.addRow(query, {u"a"_s, u"b"_s, u"c"_s}, {{u"extra"_s, value}});
            QJsonParseError error{};
            const QJsonObject body =
                QJsonDocument::fromJson(writer.finish({{u"deptid"_s, value}}), &error).object();
            QCOMPARE(error.error, QJsonParseError::NoError);
            const QJsonObject expected{
                {u"deptid"_s, value},
                {u"list"_s,
                 QJsonArray{
                     QJsonObject{{u"a"_s, value}, {u"c"_s, u"7"_s}, {u"extra"_s, value}},
                     QJsonObject{{u"a"_s, u"second"_s}, {u"b"_s, value}, {u"extra"_s, value}}}}};
            QCOMPARE(body, expected);
        }
        QSqlDatabase::removeDatabase(u"writer"_s);
    }
};

QTEST_GUILESS_MAIN(TestRVServiceListWriter)
#include "tst_rvservicelistwriter.moc"
