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
            << QByteArray("POST /a HTTP/1.1\r\nHost: h\r\nContent-Length: 5\r\n\r\nhello")
            << QByteArrayList{"/a"} << QByteArrayList{"hello"};
        QTest::newRow("absolute target")
            << QByteArray("GET http://h:1/a?b HTTP/1.1\r\nHost: h\r\n\r\n")
            << QByteArrayList{"/a?b"} << QByteArrayList{""};
        QTest::newRow("bare line feeds everywhere")
            << "POST /a HTTP/1.1\nHost: h\nTransfer-Encoding: chunked\n\n2\nok\n0\nT: 1\n\n"_ba
            << QByteArrayList{"/a"} << QByteArrayList{"ok"};
        QTest::newRow("blank lines before the request")
            << QByteArray("\r\n\r\nGET /b HTTP/1.0\r\n\r\n") << QByteArrayList{"/b"}
            << QByteArrayList{""};
        QTest::newRow("chunked with extension and trailer")
            << QByteArray(
                   "POST /c HTTP/1.1\r\nHost: h\r\nTransfer-Encoding: chunked\r\n\r\n"
                   "3;x=y ; q=\"a;\\\"b\"\r\nabc\r\nA\r\n0123456789\r\n0\r\nX-Trailer: 1\r\n\r\n")
            << QByteArrayList{"/c"} << QByteArrayList{"abc0123456789"};
        QTest::newRow("length with leading zeros and repeated equal values")
            << QByteArray("POST /d HTTP/1.1\r\nHost: h\r\nContent-Length: 0003, 3\r\n"
                          "Content-Length: 3\r\n\r\nxyz")
            << QByteArrayList{"/d"} << QByteArrayList{"xyz"};
        QTest::newRow("body exactly at the limit")
            << "POST /e HTTP/1.1\r\nHost: h\r\nContent-Length: 64\r\n\r\n" + QByteArray(64, 'q')
            << QByteArrayList{"/e"} << QByteArrayList{QByteArray(64, 'q')};
        QTest::newRow("pipelined, each framed its own way")
            << QByteArray("POST /1 HTTP/1.1\r\nHost: h\r\nContent-Length: 1\r\n\r\nA"
                          "POST /2 HTTP/1.1\r\nHost: h\r\nTransfer-Encoding: "
                          "chunked\r\n\r\n1\r\nB\r\n0\r\n\r\n"
                          "GET /3 HTTP/1.1\r\nHost: h\r\n\r\n")
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
        const QByteArray post = "POST /a HTTP/1.1\r\nHost: h\r\n";
        const QByteArray te = post + "Transfer-Encoding: ";
        const QByteArray chunked = te + "chunked\r\n\r\n";

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
                                                   << 400;
        QTest::newRow("coding before chunked") << te + "gzip, chunked\r\n\r\n" << 501;
        QTest::newRow("chunked then identity") << te + "chunked, identity\r\n\r\n" << 400;
        QTest::newRow("chunked twice") << te + "chunked\r\nTransfer-Encoding: chunked\r\n\r\n"
                                       << 400;
        QTest::newRow("vertical tab after a length")
            << post + "Content-Length: 1\v\r\n\r\nA" << 400;
        QTest::newRow("form feed before a length") << post + "Content-Length:\f1\r\n\r\nA" << 400;
        QTest::newRow("bare CR before a length") << post + "Content-Length: \r1\r\n\r\nA" << 400;
        QTest::newRow("vertical tab after chunked") << te + "chunked\v\r\n\r\n" << 400;
        QTest::newRow("nul before chunked") << te + "\0chunked\r\n\r\n"_ba << 400;
        QTest::newRow("chunk size after a blank") << chunked + " 1\r\nA\r\n0\r\n\r\n" << 400;
        QTest::newRow("chunk size before a blank") << chunked + "1 \r\nA\r\n0\r\n\r\n" << 400;
        QTest::newRow("chunk size before a control") << chunked + "1\v\r\nA\r\n0\r\n\r\n" << 400;
        QTest::newRow("nul in a chunk extension") << chunked + "1;a\0b\r\nA\r\n0\r\n\r\n"_ba << 400;
        QTest::newRow("bare CR in a chunk line") << chunked + "1\r;a\r\nA\r\n0\r\n\r\n" << 400;
        QTest::newRow("last chunk without its blank line")
            << chunked + "0\r\nGET / HTTP/1.0\r\n\r\n"
            << 400;
        QTest::newRow("trailer without a colon") << chunked + "0\r\nX 1\r\n\r\n" << 400;
        QTest::newRow("control in a trailer") << chunked + "0\r\nX: \f\r\n\r\n" << 400;
        QTest::newRow("too many trailer fields") << chunked + "0\r\na: 1\r\nb: 1\r\nc: 1\r\n\r\n"
                                                 << 431;
        QTest::newRow("bare CR in a header line") << post + "A: 1\rB: 2\r\n\r\n" << 400;
        QTest::newRow("byte 0x80 in the target")
            << QByteArray("GET /\x80 HTTP/1.1\r\nHost: h\r\n\r\n") << 400;
        QTest::newRow("no host") << QByteArray("GET / HTTP/1.1\r\n\r\n") << 400;
        QTest::newRow("two hosts")
            << QByteArray("GET / HTTP/1.0\r\nHost: a\r\nhost: a\r\n\r\n") << 400;
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
        QTest::newRow("target of another scheme")
            << QByteArray("GET ftp://h/ HTTP/1.1\r\nHost: h\r\n\r\n") << 400;
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
        parser.append("POST /a HTTP/1.1\r\nHost: h\r\nExpect: 100-continue\r\n");
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

    void bodiesTakeMemoryAsTheyArrive_data()
    {
        QTest::addColumn<int>("requests");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("bound"); // of all bodies in progress
        QTest::addColumn<int>("refused");
        QTest::addColumn<qint64>("inUse");
        const QByteArray post = "POST /a HTTP/1.1\r\nHost: h\r\n";
        const QByteArray mib = post + "Content-Length: 1048576\r\n\r\n";
        const QByteArray kib32(32 * 1024, 'x');
        constexpr qint64 k = 1024;
        QTest::newRow("1,500 heads declaring 1 MiB, nothing sent")
            << 1500 << mib << 64 * k * k << 0 << 0LL;
        QTest::newRow("1,500 bodies under way") << 1500 << mib + "x" << 64 * k * k << 0 << 1500LL;
        QTest::newRow("lengths past the shared bound")
            << 10 << mib + kib32 << 128 * k << 6 << 128 * k;
        QTest::newRow("chunks past the shared bound")
            << 10 << post + "Transfer-Encoding: chunked\r\n\r\n8001\r\n" + kib32 << 128 * k << 6
            << 128 * k;
        QTest::newRow("finished bodies give their share back")
            << 10 << post + "Content-Length: 32768\r\n\r\n" + kib32 << 64 * k << 0 << 0LL;
    }

    void bodiesTakeMemoryAsTheyArrive()
    {
        QFETCH(int, requests);
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, bound);
        auto budget = std::make_shared<RVServiceHttpBodyBudget>(bound);
        QList<std::shared_ptr<RVServiceHttpParser>> parsers;
        int refused = 0;
        qint64 held = 0;
        for (int i = 0; i < requests; ++i) {
            auto &parser =
                parsers.emplaceBack(new RVServiceHttpParser(RVServiceHttpLimits(), budget));
            parser->append(bytes);
            if (parser->next() == RVServiceHttpParser::Status::Ready)
                parser->take();
            refused += parser->errorStatus() == 503;
            held += parser->held();
        }
        QTEST(refused, "refused");
        QTEST(budget->inUse(), "inUse");
        // Memory follows the bytes received, not the sizes declared.
        QVERIFY2(held <= 2LL * requests * bytes.size(), qPrintable(QString::number(held)));
        parsers.clear();
        QCOMPARE(budget->inUse(), 0);
    }

    void keepAlive_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<bool>("keepAlive");
        QTest::newRow("1.1 by default") << QByteArray("GET / HTTP/1.1\r\nHost: h\r\n\r\n") << true;
        QTest::newRow("1.1 asked to close")
            << QByteArray("GET / HTTP/1.1\r\nHost: h\r\nConnection: Close\r\n\r\n") << false;
        QTest::newRow("1.1 close among tokens")
            << QByteArray("GET / HTTP/1.1\r\nHost: h\r\nConnection: te, close\r\n\r\n") << false;
        QTest::newRow("1.0 by default") << QByteArray("GET / HTTP/1.0\r\n\r\n") << false;
        QTest::newRow("1.0 asked to keep")
            << QByteArray("GET / HTTP/1.0\r\nConnection: keep-alive\r\n\r\n") << true;
        QTest::newRow("1.0 chunked, asked to keep")
            << "POST / HTTP/1.0\r\nConnection: keep-alive\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n"_ba
            << false;
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
        const Outcome outcome = feed("GET /photos/D%30001.png?id=%3Cb%3E&x=1 HTTP/1.0\r\n\r\n", 64);
        QCOMPARE(outcome.requests.size(), 1);
        const RVServiceHttpRequest &request = outcome.requests.first();
        QCOMPARE(request.path(), u"/photos/D0001.png"_s);
        QCOMPARE(request.query().queryItemValue(u"id"_s, QUrl::FullyDecoded), u"<b>"_s);
        QCOMPARE(request.header("HOST"), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestRVServiceHttpParser)
#include "tst_rvservicehttpparser.moc"
