// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// Numbers from the network: whatever a request holds, reading it is defined behaviour and a
// number out of range is recognised as such.
#include "service/rvservicevalues.h"

#include <QJsonObject>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

class TestRVServiceValues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void text_data()
    {
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("text") << QJsonValue(u" 12 "_s) << u" 12 "_s;
        QTest::newRow("whole number") << QJsonValue(42) << u"42"_s;
        QTest::newRow("negative whole number") << QJsonValue(-7) << u"-7"_s;
        QTest::newRow("2^53 exactly") << QJsonValue(9007199254740992.0) << u"9007199254740992"_s;
        QTest::newRow("fraction") << QJsonValue(1.5) << u"1.5"_s;
        QTest::newRow("1e19, beyond 64 bits") << QJsonValue(1e19) << u"1e+19"_s;
        QTest::newRow("-1e19") << QJsonValue(-1e19) << u"-1e+19"_s;
        QTest::newRow("1e300") << QJsonValue(1e300) << u"1.0000000000000001e+300"_s;
        QTest::newRow("boolean") << QJsonValue(true) << QString();
        QTest::newRow("null") << QJsonValue() << QString();
        QTest::newRow("object") << QJsonValue(QJsonObject{{u"a"_s, 1}}) << QString();
    }

    void text()
    {
        QFETCH(QJsonValue, value);
        QTEST(RVServiceValues::text(value), "text");
    }

    void wholeNumber_data()
    {
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<qint64>("min");
        QTest::addColumn<qint64>("max");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint64>("number");
        constexpr qint64 lowest = std::numeric_limits<qint64>::min();
        constexpr qint64 highest = std::numeric_limits<qint64>::max();

        QTest::newRow("json number") << QJsonValue(15) << 1LL << 100LL << true << 15LL;
        QTest::newRow("text with blanks") << QJsonValue(u" +8 "_s) << 1LL << 100LL << true << 8LL;
        QTest::newRow("at the lower bound") << QJsonValue(u"1"_s) << 1LL << 100LL << true << 1LL;
        QTest::newRow("at the upper bound") << QJsonValue(100) << 1LL << 100LL << true << 100LL;
        QTest::newRow("below the range") << QJsonValue(0) << 1LL << 100LL << false << 0LL;
        QTest::newRow("above the range") << QJsonValue(u"101"_s) << 1LL << 100LL << false << 0LL;
        QTest::newRow("1e19") << QJsonValue(1e19) << lowest << highest << false << 0LL;
        QTest::newRow("-1e19") << QJsonValue(-1e19) << lowest << highest << false << 0LL;
        QTest::newRow("2^53 + 2 as a number")
            << QJsonValue(9007199254740994.0) << lowest << highest << false << 0LL;
        QTest::newRow("fraction") << QJsonValue(2.5) << lowest << highest << false << 0LL;
        QTest::newRow("twenty digits")
            << QJsonValue(u"99999999999999999999"_s) << lowest << highest << false << 0LL;
        QTest::newRow("int64 max as text")
            << QJsonValue(u"9223372036854775807"_s) << lowest << highest << true << highest;
        QTest::newRow("int64 max + 1 as text")
            << QJsonValue(u"9223372036854775808"_s) << lowest << highest << false << 0LL;
        QTest::newRow("int64 min as text")
            << QJsonValue(u"-9223372036854775808"_s) << lowest << highest << true << lowest;
        QTest::newRow("int64 min - 1 as text")
            << QJsonValue(u"-9223372036854775809"_s) << lowest << highest << false << 0LL;
        QTest::newRow("digits then letters")
            << QJsonValue(u"12ab"_s) << 0LL << 100LL << false << 0LL;
        QTest::newRow("sign alone") << QJsonValue(u"-"_s) << lowest << highest << false << 0LL;
        QTest::newRow("empty text") << QJsonValue(u""_s) << lowest << highest << false << 0LL;
        QTest::newRow("exponent text") << QJsonValue(u"1e3"_s) << lowest << highest << false << 0LL;
        QTest::newRow("full-width digits")
            << QJsonValue(u"１２"_s) << lowest << highest << false << 0LL;
        QTest::newRow("boolean") << QJsonValue(true) << lowest << highest << false << 0LL;
    }

    void wholeNumber()
    {
        QFETCH(QJsonValue, value);
        QFETCH(qint64, min);
        QFETCH(qint64, max);
        QFETCH(bool, valid);
        const std::optional<qint64> number = RVServiceValues::wholeNumber(value, min, max);
        QCOMPARE(number.has_value(), valid);
        if (valid)
            QTEST(*number, "number");
    }
};

QTEST_GUILESS_MAIN(TestRVServiceValues)
#include "tst_rvservicevalues.moc"
