// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvserviceaddress.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestRVServiceAddress : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // An address as the command line gives it: the base URL it names (empty: refused as
    // unusable), and whether plain HTTP to it is refused with and without the allowance.
    void parseAndPlainHttpRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("base");
        QTest::addColumn<bool>("refused");
        QTest::newRow("https") << u"https://rv.example.org:8443"_s
                               << u"https://rv.example.org:8443"_s << false;
        QTest::newRow("https, its own port")
            << u"https://rv.example.org/"_s << u"https://rv.example.org:443"_s << false;
        QTest::newRow("http to loopback")
            << u"http://127.0.0.1:8080"_s << u"http://127.0.0.1:8080"_s << false;
        QTest::newRow("bare host:port is http")
            << u" 127.0.0.1:8080 "_s << u"http://127.0.0.1:8080"_s << false;
        QTest::newRow("loopback: 127/8") << u"127.9.9.9:80"_s << u"http://127.9.9.9:80"_s << false;
        QTest::newRow("loopback: ::1") << u"[::1]:8080"_s << u"http://[::1]:8080"_s << false;
        QTest::newRow("loopback: localhost")
            << u"http://LOCALHOST:1"_s << u"http://localhost:1"_s << false;
        QTest::newRow("http beyond loopback")
            << u"http://10.0.0.5:8080"_s << u"http://10.0.0.5:8080"_s << true;
        QTest::newRow("bare beyond loopback")
            << u"rv.example.org:8080"_s << u"http://rv.example.org:8080"_s << true;
        QTest::newRow("loopback look-alike")
            << u"http://127.0.0.1.example.org:80"_s << u"http://127.0.0.1.example.org:80"_s << true;
        QTest::newRow("IPv4-mapped elsewhere")
            << u"http://[::ffff:10.0.0.5]:80"_s << u"http://[::ffff:10.0.0.5]:80"_s << true;
        for (const QString &bad :
             {u""_s, u"rv.example.org"_s, u"ftp://rv.example.org:21"_s, u"https://h:0"_s,
              u"https://h:65536"_s, u"https://user@h:1"_s, u"https://h:1/hrzp2"_s,
              u"https://h:1?x=1"_s, u"https://:8443"_s, u"127.0.0.1:port"_s})
            QTest::newRow(qPrintable(u"unusable: "_s + bad)) << bad << QString() << false;
    }
    void parseAndPlainHttpRule()
    {
        QFETCH(QString, text);
        QFETCH(QString, base);
        QFETCH(bool, refused);
        QString error;
        const std::optional<QUrl> url = RVServiceAddress::parse(text, &error);
        QCOMPARE(url ? url->toString() : QString(), base);
        QCOMPARE(error.isEmpty(), url.has_value());
        if (!url)
            return;
        QCOMPARE(!RVServiceAddress::plainHttpRefusal(*url, false).isEmpty(), refused);
        QVERIFY(RVServiceAddress::plainHttpRefusal(*url, true).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRVServiceAddress)
#include "tst_rvserviceaddress.moc"
