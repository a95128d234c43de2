// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// The service's HTTP request reader on its own: framing, persistent connections, and every
// limit it enforces before the service holds more than a bounded number of bytes.
#include "service/rvservicehttpparser.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace
{
RVServiceHttpLimits smallLimits()
{
    RVServiceHttpLimits limits;
    limits.maxHeadBytes = 256;
    limits.maxHeaderCount = 4;
    limits.maxBodyBytes = 64;
    return limits;
}

struct Outcome {
    QList<RVServiceHttpRequest> requests;
    int errorStatus = 0;
};

// Feeds the bytes in pieces of the given size and collects what the parser makes of them.
Outcome feed(const QByteArray &bytes, qsizetype piece)
{
    RVServiceHttpParser parser(smallLimits());
    Outcome outcome;
    for (qsizetype at = 0; at < bytes.size() && outcome.errorStatus == 0; at += piece) {
        parser.append(QByteArrayView(bytes).sliced(at, std::min(piece, bytes.size() - at)));
        for (;;) {
            const auto status = parser.next();
            if (status == RVServiceHttpParser::Status::Ready) {
                outcome.requests.append(parser.take());
                continue;
            }
            if (status == RVServiceHttpParser::Status::Failed)
                outcome.errorStatus = parser.errorStatus();
            break;
        }
    }
    return outcome;
}
} // namespace

class TestRVServiceHttpParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsRequests_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArrayList>("targets");
        QTest::addColumn<QByteArrayList>("bodies");

        QTest::newRow("get without body")
            << QByteArray("GET /lookup?id=1 HTTP/1.1\r\nHost: h\r\n\r\n")
            << QByteArrayList{"/lookup?id=1"} << QByteArrayList{""};
        QTest::newRow("post with length")
            << QByteArray("POST /a HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello")
            << QByteArrayList{"/a"} << QByteArrayList{"hello"};
        QTest::newRow("bare line feeds") << QByteArray("POST /a HTTP/1.1\nContent-Length: 2\n\nok")
                                         << QByteArrayList{"/a"} << QByteArrayList{"ok"};
        QTest::newRow("blank lines before the request")
            << QByteArray("\r\n\r\nGET /b HTTP/1.0\r\n\r\n") << QByteArrayList{"/b"}
            << QByteArrayList{""};
        QTest::newRow("chunked with extension and trailer")
            << QByteArray("POST /c HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n"
                          "3;x=y\r\nabc\r\nA\r\n0123456789\r\n0\r\nX-Trailer: 1\r\n\r\n")
            << QByteArrayList{"/c"} << QByteArrayList{"abc0123456789"};
        QTest::newRow("length with leading zeros and repeated equal values")
            << QByteArray("POST /d HTTP/1.1\r\nContent-Length: 0003, 3\r\n"
                          "Content-Length: 3\r\n\r\nxyz")
            << QByteArrayList{"/d"} << QByteArrayList{"xyz"};
        QTest::newRow("body exactly at the limit")
            << "POST /e HTTP/1.1\r\nContent-Length: 64\r\n\r\n" + QByteArray(64, 'q')
            << QByteArrayList{"/e"} << QByteArrayList{QByteArray(64, 'q')};
        QTest::newRow("pipelined, each framed its own way")
            << QByteArray(
                   "POST /1 HTTP/1.1\r\nContent-Length: 1\r\n\r\nA"
                   "POST /2 HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n1\r\nB\r\n0\r\n\r\n"
                   "GET /3 HTTP/1.1\r\n\r\n")
            << QByteArrayList{"/1", "/2", "/3"} << QByteArrayList{"A", "B", ""};
    }

    void readsRequests()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArrayList, targets);
        QFETCH(QByteArrayList, bodies);
        // Whole, and one byte at a time: how the bytes arrive must not matter.
        for (const qsizetype piece : {bytes.size(), qsizetype(1), qsizetype(7)}) {
            const Outcome outcome = feed(bytes, piece);
            QCOMPARE(outcome.errorStatus, 0);
            QCOMPARE(outcome.requests.size(), targets.size());
            for (qsizetype i = 0; i < targets.size(); ++i) {
                QCOMPARE(outcome.requests.at(i).target, targets.at(i));
                QCOMPARE(outcome.requests.at(i).body, bodies.at(i));
            }
        }
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        const QByteArray post = "POST /a HTTP/1.1\r\n";

        QTest::newRow("declared length over the limit, no body sent")
            << post + "Content-Length: 65\r\n\r\n"
            << 413;
        QTest::newRow("declared length of 400 MiB") << post + "Content-Length: 419430400\r\n\r\n"
                                                    << 413;
        QTest::newRow("declared length beyond 64 bits")
            << post + "Content-Length: 99999999999999999999999\r\n\r\n"
            << 413;
        QTest::newRow("negative length") << post + "Content-Length: -1\r\n\r\n" << 400;
        QTest::newRow("length not a number") << post + "Content-Length: 1e3\r\n\r\n" << 400;
        QTest::newRow("lengths that differ")
            << post + "Content-Length: 1\r\nContent-Length: 2\r\n\r\nab" << 400;
        QTest::newRow("length and chunked together")
            << post + "Content-Length: 3\r\nTransfer-Encoding: chunked\r\n\r\n"
            << 400;
        QTest::newRow("coding other than chunked") << post + "Transfer-Encoding: gzip\r\n\r\n"
                                                   << 501;
        QTest::newRow("chunked body growing over the limit")
            << post + "Transfer-Encoding: chunked\r\n\r\n20\r\n" + QByteArray(32, 'a') +
                   "\r\n21\r\n"
            << 413;
        QTest::newRow("chunk size beyond 64 bits")
            << post + "Transfer-Encoding: chunked\r\n\r\nffffffffffffffffffff\r\n"
            << 413;
        QTest::newRow("chunk size not hex") << post + "Transfer-Encoding: chunked\r\n\r\nzz\r\n"
                                            << 400;
        QTest::newRow("chunk without its line end")
            << post + "Transfer-Encoding: chunked\r\n\r\n1\r\nAB\r\n"
            << 400;
        QTest::newRow("head over the limit")
            << "GET / HTTP/1.1\r\nX: " + QByteArray(300, 'x') + "\r\n\r\n"
            << 431;
        QTest::newRow("head without end over the limit")
            << "GET / HTTP/1.1\r\nX: " + QByteArray(300, 'x') << 431;
        QTest::newRow("endless blank lines") << QByteArray(400, '\n') << 431;
        QTest::newRow("too many header fields")
            << QByteArray("GET / HTTP/1.1\r\na: 1\r\nb: 1\r\nc: 1\r\nd: 1\r\ne: 1\r\n\r\n") << 431;
        QTest::newRow("unknown version") << QByteArray("GET / HTTP/2.0\r\n\r\n") << 505;
        QTest::newRow("no version") << QByteArray("GET /\r\n\r\n") << 400;
        QTest::newRow("absolute target") << QByteArray("GET http://h/ HTTP/1.1\r\n\r\n") << 400;
        QTest::newRow("space in method") << QByteArray("G T / HTTP/1.1\r\n\r\n") << 400;
        QTest::newRow("folded header") << QByteArray("GET / HTTP/1.1\r\nA: 1\r\n 2\r\n\r\n") << 400;
        QTest::newRow("nul in header value")
            << QByteArray("GET / HTTP/1.1\r\nA: x\0y\r\n\r\n", 26) << 400;
        QTest::newRow("header without name") << QByteArray("GET / HTTP/1.1\r\n: x\r\n\r\n") << 400;
    }

    void refusals()
    {
        QFETCH(QByteArray, bytes);
        for (const qsizetype piece : {bytes.size(), qsizetype(1)}) {
            const Outcome outcome = feed(bytes, piece);
            QVERIFY(outcome.requests.isEmpty());
            QTEST(outcome.errorStatus, "status");
        }
    }

    void stagesFollowTheRequest()
    {
        RVServiceHttpParser parser(smallLimits());
        QCOMPARE(parser.stage(), RVServiceHttpParser::Stage::Idle);
        parser.append("POST /a HTTP/1.1\r\nExpect: 100-continue\r\n");
        QCOMPARE(parser.next(), RVServiceHttpParser::Status::NeedMore);
        QCOMPARE(parser.stage(), RVServiceHttpParser::Stage::Head);
        QVERIFY(!parser.wantsContinue());
        parser.append("Content-Length: 2\r\n\r\n");
        QCOMPARE(parser.next(), RVServiceHttpParser::Status::NeedMore);
        QCOMPARE(parser.stage(), RVServiceHttpParser::Stage::Body);
        QVERIFY(parser.wantsContinue());
        parser.continueSent();
        QVERIFY(!parser.wantsContinue());
        parser.append("ok");
        QCOMPARE(parser.next(), RVServiceHttpParser::Status::Ready);
        QCOMPARE(parser.take().body, QByteArray("ok"));
        QCOMPARE(parser.stage(), RVServiceHttpParser::Stage::Idle);
        QCOMPARE(parser.buffered(), 0);
    }

    void failureIsFinal()
    {
        RVServiceHttpParser parser(smallLimits());
        parser.append("BAD\r\n\r\n");
        QCOMPARE(parser.next(), RVServiceHttpParser::Status::Failed);
        parser.append("GET / HTTP/1.1\r\n\r\n");
        QCOMPARE(parser.next(), RVServiceHttpParser::Status::Failed);
        QCOMPARE(parser.buffered(), 0); // nothing more is held for a lost connection
    }

    void keepAlive_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<bool>("keepAlive");
        QTest::newRow("1.1 by default") << QByteArray("GET / HTTP/1.1\r\n\r\n") << true;
        QTest::newRow("1.1 asked to close")
            << QByteArray("GET / HTTP/1.1\r\nConnection: Close\r\n\r\n") << false;
        QTest::newRow("1.1 close among tokens")
            << QByteArray("GET / HTTP/1.1\r\nConnection: te, close\r\n\r\n") << false;
        QTest::newRow("1.0 by default") << QByteArray("GET / HTTP/1.0\r\n\r\n") << false;
        QTest::newRow("1.0 asked to keep")
            << QByteArray("GET / HTTP/1.0\r\nConnection: keep-alive\r\n\r\n") << true;
    }

    void keepAlive()
    {
        QFETCH(QByteArray, head);
        const Outcome outcome = feed(head, head.size());
        QCOMPARE(outcome.requests.size(), 1);
        QTEST(outcome.requests.first().keepAlive(), "keepAlive");
    }

    void pathAndQueryAreDecoded()
    {
        const Outcome outcome = feed("GET /photos/D%30001.png?id=%3Cb%3E&x=1 HTTP/1.1\r\n\r\n", 64);
        QCOMPARE(outcome.requests.size(), 1);
        const RVServiceHttpRequest &request = outcome.requests.first();
        QCOMPARE(request.path(), u"/photos/D0001.png"_s);
        QCOMPARE(request.query().queryItemValue(u"id"_s, QUrl::FullyDecoded), u"<b>"_s);
        QCOMPARE(request.header("HOST"), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestRVServiceHttpParser)
#include "tst_rvservicehttpparser.moc"
