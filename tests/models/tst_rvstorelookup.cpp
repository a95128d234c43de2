// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvstorelookup.h"

#include <QTest>
#include <QUrlQuery>

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
        QTest::newRow("no results") << QString() << false;
    }
    void offersAnotherVersion()
    {
        QFETCH(QString, storeVersion);
        const QString result =
            storeVersion.isNull() ? QString() : u"{\"version\":\"%1\"}"_s.arg(storeVersion);
        const QByteArray answer = u"{\"results\":[%1]}"_s.arg(result).toUtf8();
        QTEST(RVStoreLookup::offersUpdate(answer, u"1.0.0"_s), "offered");
    }

    // The identifier names the application at both addresses; without one nothing is asked.
    void addressesNameTheApplication_data()
    {
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<QString>("lookup");
        QTest::newRow("configured") << u"x"_s << u"http://127.0.0.1:1/lookup?id=x"_s;
        QTest::newRow("no identifier") << QString() << QString();
    }
    void addressesNameTheApplication()
    {
        QFETCH(QString, identifier);
        RVStoreLookup::setLocation(QUrl(u"http://127.0.0.1:1/lookup"_s), QUrl(), identifier);
        QTEST(RVStoreLookup::lookupUrl().toString(), "lookup");
        const QUrl update = RVStoreLookup::updateUrl();
        QCOMPARE(update.path(), u"/update"_s);
        QCOMPARE(QUrlQuery(update).queryItemValue(u"id"_s), identifier);
    }
};

QTEST_GUILESS_MAIN(TestRVStoreLookup)
#include "tst_rvstorelookup.moc"
