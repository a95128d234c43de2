// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvstorelookup.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestRVStoreLookup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void offersAnotherVersion_data()
    {
        QTest::addColumn<QString>("storeVersion");
        QTest::addColumn<bool>("offered");
        QTest::newRow("same version") << u"1.0.0"_s << false;
        QTest::newRow("newer") << u"1.1.0"_s << true;
        QTest::newRow("older still offers") << u"0.9"_s << true;
    }
    void offersAnotherVersion()
    {
        QFETCH(QString, storeVersion);
        const QString answer = u"{\"results\":[{\"version\":\"%1\"}]}"_s.arg(storeVersion);
        QTEST(RVStoreLookup::offersUpdate(answer.toUtf8(), u"1.0.0"_s), "offered");
    }

    void noIdentifierNoLookup()
    {
        RVStoreLookup::setLocation(QUrl(u"http://127.0.0.1:1/lookup"_s), QUrl(), u"x"_s);
        QCOMPARE(RVStoreLookup::lookupUrl(), QUrl(u"http://127.0.0.1:1/lookup?id=x"_s));
        RVStoreLookup::setLocation(QUrl(u"http://127.0.0.1:1/lookup"_s), QUrl(), QString());
        QVERIFY(!RVStoreLookup::lookupUrl().isValid());
    }
};

QTEST_GUILESS_MAIN(TestRVStoreLookup)
#include "tst_rvstorelookup.moc"
