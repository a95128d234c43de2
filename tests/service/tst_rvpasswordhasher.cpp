// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvpasswordhasher.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestRVPasswordHasher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip()
    {
        const QString stored = RVPasswordHasher::hash(u"密码secret"_s, 1000);
        QVERIFY(stored.startsWith(u"pbkdf2-sha256$1000$"_s));
        QVERIFY(!stored.contains(u"secret"_s));
        QVERIFY(RVPasswordHasher::verify(u"密码secret"_s, stored));
        QVERIFY(!RVPasswordHasher::verify(u"密码secreT"_s, stored));
        QVERIFY(!RVPasswordHasher::verify(QString(), stored));
    }

    void saltMakesEveryHashDifferent()
    {
        const QString a = RVPasswordHasher::hash(u"same"_s, 1000);
        const QString b = RVPasswordHasher::hash(u"same"_s, 1000);
        QVERIFY(a != b);
        QVERIFY(RVPasswordHasher::verify(u"same"_s, a) && RVPasswordHasher::verify(u"same"_s, b));
    }

    void knownAnswer()
    {
        // PBKDF2-HMAC-SHA256("password", "salt", 1 iteration), the published test vector.
        const QString stored = u"pbkdf2-sha256$1$73616c74$"
                               "120fb6cffcf8b32c43e7225256c4f837a86548c92ccc35480805987cb70be17b"_s;
        QVERIFY(RVPasswordHasher::verify(u"password"_s, stored));
    }

    void malformedStoredText_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << QString();
        QTest::newRow("plain password") << u"password"_s;
        QTest::newRow("other scheme") << u"md5$1$73616c74$00"_s;
        QTest::newRow("no iterations") << u"pbkdf2-sha256$$73616c74$00"_s;
        QTest::newRow("huge iterations")
            << u"pbkdf2-sha256$2000000000$73616c74$"
               "120fb6cffcf8b32c43e7225256c4f837a86548c92ccc35480805987cb70be17b"_s;
        QTest::newRow("short hash") << u"pbkdf2-sha256$1$73616c74$120fb6"_s;
    }

    void malformedStoredText()
    {
        QFETCH(QString, stored);
        QVERIFY(!RVPasswordHasher::verify(u"password"_s, stored));
    }

    void randomBytes()
    {
        QCOMPARE(RVPasswordHasher::randomBytes(24).size(), 24);
        QVERIFY(RVPasswordHasher::randomBytes(24) != RVPasswordHasher::randomBytes(24));
        QVERIFY(RVPasswordHasher::randomBytes(0).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRVPasswordHasher)
#include "tst_rvpasswordhasher.moc"
