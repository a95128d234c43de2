// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvcipher.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRVCipher : public QObject
{
    Q_OBJECT

private:
    static QByteArray fixture(const QString &name)
    {
        QFile file(QStringLiteral(RV_TEST_DATA_DIR) + u"/cipher/"_s + name);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("missing fixture");
        return file.readAll();
    }

private Q_SLOTS:
    void knownAnswers_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"empty", "eight", "nine", "login", "reply", "long"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void knownAnswers()
    {
        QFETCH(QString, name);
        const QString plain = QString::fromUtf8(fixture(name + u".plain"_s));
        const QString key = QString::fromLatin1(fixture(name + u".key"_s)).trimmed();
        const QString hex = QString::fromLatin1(fixture(name + u".hex"_s)).trimmed();

        QCOMPARE(RVCipher::encipherToHex(plain, key).value_or(u"failed"_s), hex);
        QCOMPARE(RVCipher::decipherFromHex(hex, key).value_or(u"failed"_s), plain);
        QCOMPARE(RVCipher::decipherFromHex(hex.toUpper(), key).value_or(u"failed"_s), plain);
    }

    void cipherLength_data()
    {
        QTest::addColumn<int>("plainBytes");
        QTest::addColumn<int>("hexDigits");
        QTest::newRow("empty is one padding block") << 0 << 16;
        QTest::newRow("7 bytes") << 7 << 16;
        QTest::newRow("8 bytes need a whole padding block") << 8 << 32;
        QTest::newRow("9 bytes") << 9 << 32;
        QTest::newRow("16 bytes") << 16 << 48;
    }
    void cipherLength()
    {
        QFETCH(int, plainBytes);
        QFETCH(int, hexDigits);
        const auto hex =
            RVCipher::encipherToHex(QString(plainBytes, u'x'), RVCipher::fixedKeyText());
        QVERIFY(hex);
        QCOMPARE(hex->size(), hexDigits);
        QCOMPARE(*hex, hex->toLower());
    }

    void stringFromHex_data()
    {
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("lower") << u"00ff7f"_s << QByteArray("\x00\xff\x7f", 3);
        QTest::newRow("upper") << u"ABcd"_s << QByteArray("\xab\xcd");
        QTest::newRow("odd last digit ignored") << u"41424"_s << QByteArray("AB");
        QTest::newRow("bad second digit keeps the first") << u"4z"_s << QByteArray("\x04");
        QTest::newRow("bad first digit gives zero") << u"z4"_s << QByteArray("\x00", 1);
        QTest::newRow("empty") << QString() << QByteArray();
        QTest::newRow("one digit") << u"a"_s << QByteArray();
    }
    void stringFromHex()
    {
        QFETCH(QString, hex);
        QFETCH(QByteArray, bytes);
        QCOMPARE(RVCipher::stringFromHex(hex), bytes);
    }

    void hexRoundTrip()
    {
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(char(i));
        const QString hex = RVCipher::nsdataToHex(all);
        QCOMPARE(hex.size(), 512);
        QVERIFY(hex.startsWith(u"000102"_s));
        QCOMPARE(RVCipher::stringFromHex(hex), all);
    }

    void usableKeys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("usable");
        QTest::newRow("fixed key") << RVCipher::fixedKeyText() << true;
        QTest::newRow("upper case") << RVCipher::fixedKeyText().toUpper() << true;
        QTest::newRow("none") << QString() << false;
        QTest::newRow("47 digits") << RVCipher::fixedKeyText().left(47) << false;
        QTest::newRow("49 digits") << RVCipher::fixedKeyText() + u'0' << false;
        QTest::newRow("not hex") << RVCipher::fixedKeyText().left(47) + u'g' << false;
    }
    void usableKeys()
    {
        QFETCH(QString, key);
        QFETCH(bool, usable);
        QCOMPARE(RVCipher::isUsableKey(key), usable);
        QCOMPARE(RVCipher::keyToBytes(key).has_value(), usable);
        // An unusable key never reaches the cipher: nothing is enciphered under it.
        QCOMPARE(RVCipher::encipherToHex(u"x"_s, key).has_value(), usable);
    }

    void undecipherable_data()
    {
        const QString good = QString::fromLatin1(fixture(u"reply.hex"_s)).trimmed();
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QString>("key");
        QTest::newRow("another key") << good << RVCipher::fixedKeyText();
        QTest::newRow("truncated by a block")
            << good.chopped(16) << QString::fromLatin1(fixture(u"reply.key"_s)).trimmed();
        QTest::newRow("odd number of digits")
            << good.chopped(1) << QString::fromLatin1(fixture(u"reply.key"_s)).trimmed();
        QTest::newRow("not hex at all") << u"zzzzzzzzzzzzzzzz"_s << RVCipher::fixedKeyText();
        QTest::newRow("empty") << QString() << RVCipher::fixedKeyText();
        QTest::newRow("short key") << good << u"0123"_s;
    }
    void undecipherable()
    {
        QFETCH(QString, hex);
        QFETCH(QString, key);
        QVERIFY(!RVCipher::decipherFromHex(hex, key).has_value());
    }

    void nonUtf8PlainTextIsRefused()
    {
        const auto key = *RVCipher::keyToBytes(RVCipher::fixedKeyText());
        const auto cipher = RVCipher::encrypt(QByteArray("\xff\xfe\x80", 3), key);
        QVERIFY(cipher);
        QVERIFY(
            !RVCipher::decipherFromHex(RVCipher::nsdataToHex(*cipher), RVCipher::fixedKeyText()));
    }
};

QTEST_GUILESS_MAIN(TestRVCipher)
#include "tst_rvcipher.moc"
