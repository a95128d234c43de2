// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "platform/interfacescale.h"
#include "platform/userdefaults.h"

#include <QJsonValue>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using platform::InterfaceScale;
using platform::UserDefaults;

class TestInterfaceScale : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("factor"); // 0: refused
        QTest::newRow("one and a half") << u"1.5"_s << 1.5;
        QTest::newRow("largest, spaced") << u" 2.0 "_s << 2.0;
        QTest::newRow("below") << u"0.99"_s << 0.0;
        QTest::newRow("above") << u"2.01"_s << 0.0;
        QTest::newRow("word") << u"large"_s << 0.0;
        QTest::newRow("not a number") << u"nan"_s << 0.0;
        QTest::newRow("comma") << u"1,5"_s << 0.0;
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(double, factor);
        QCOMPARE(InterfaceScale::parse(text).value_or(0.0), factor);
    }

    // What an edited or older file holds is read as the normal size unless it can be drawn.
    void kept_data()
    {
        QTest::addColumn<QJsonValue>("kept");
        QTest::addColumn<double>("read");
        QTest::newRow("one and a half") << QJsonValue(1.5) << 1.5;
        QTest::newRow("none") << QJsonValue(QJsonValue::Undefined) << 1.0;
        QTest::newRow("too large") << QJsonValue(5) << 1.0;
        QTest::newRow("text") << QJsonValue(u"1.5"_s) << 1.0;
    }
    void kept()
    {
        QFETCH(QJsonValue, kept);
        QFETCH(double, read);
        QTemporaryDir dir;
        UserDefaults defaults(dir.filePath(u"defaults.json"_s));
        defaults.setObject(InterfaceScale::kDefaultsKey.toString(), kept);
        QVERIFY(defaults.synchronize());
        QCOMPARE(InterfaceScale::stored(UserDefaults(defaults.filePath())), read);
        QVERIFY(!InterfaceScale::store(defaults, 2.5));
        QCOMPARE(InterfaceScale::stored(UserDefaults(defaults.filePath())), read);
    }

    void scaleFactorVariable_data()
    {
        QTest::addColumn<QByteArray>("existing");
        QTest::addColumn<QByteArray>("variable");
        QTest::newRow("nothing asked before") << QByteArray() << QByteArray("1.5");
        QTest::newRow("a doubled display") << QByteArray("2") << QByteArray("3");
        QTest::newRow("an unusable value") << QByteArray("big") << QByteArray("1.5");
    }
    void scaleFactorVariable()
    {
        QFETCH(QByteArray, existing);
        QFETCH(QByteArray, variable);
        QCOMPARE(InterfaceScale::scaleFactorVariable(1.5, existing), variable);
    }
};

QTEST_GUILESS_MAIN(TestInterfaceScale)
#include "tst_interfacescale.moc"
