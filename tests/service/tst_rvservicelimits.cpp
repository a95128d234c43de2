// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// What a hostile or careless client can make the running service do: each limit of the HTTP
// layer, seen from a raw socket against the service on an ephemeral loopback port. The
// limits are short here; every wait has a generous upper bound, none is a timing check.
#include "service/rvservicehttpaddressbound.h"
#include "service/rvservicethread.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace
{
constexpr int patience = 10'000; // ms: far beyond every limit below

struct Reply {
    int status = -1; // -1: no complete reply before the connection ended or time ran out
    QByteArray head;
    QByteArray body;
};

// Reads one reply (status line, headers, a body of Content-Length bytes) from the socket.
Reply readReply(QTcpSocket &socket, QByteArray &pending, int timeoutMs = patience)
{
    QElapsedTimer clock;
    clock.start();
    Reply reply;
    for (;;) {
        pending += socket.readAll();
        const qsizetype end = pending.indexOf("\r\n\r\n");
        if (end >= 0) {
            reply.head = pending.left(end);
            qsizetype length = 0;
            for (const QByteArray &line : reply.head.split('\n'))
                if (line.toLower().startsWith("content-length:"))
                    length = line.mid(15).trimmed().toLongLong();
            if (pending.size() >= end + 4 + length) {
                reply.status = reply.head.mid(9, 3).toInt();
                reply.body = pending.mid(end + 4, length);
                pending.remove(0, end + 4 + length);
                return reply;
            }
        }
        if (clock.elapsed() > timeoutMs || socket.state() != QAbstractSocket::ConnectedState ||
            !socket.waitForReadyRead(std::max<int>(1, timeoutMs - int(clock.elapsed())))) {
            pending += socket.readAll();
            if (pending.indexOf("\r\n\r\n") < 0 || clock.elapsed() > timeoutMs)
                return reply;
        }
    }
}

// Whether the service closes the connection within the time, reading what still arrives.
bool closedWithin(QTcpSocket &socket, int timeoutMs = patience)
{
    QElapsedTimer clock;
    clock.start();
    while (socket.state() == QAbstractSocket::ConnectedState && clock.elapsed() < timeoutMs) {
        socket.waitForReadyRead(50);
        socket.readAll();
    }
    return socket.state() != QAbstractSocket::ConnectedState;
}

const QByteArray lookup = "GET /lookup?id=1 HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
} // namespace

class TestRVServiceLimits : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<RVServiceThread> m_service;

    static RVServiceHttpLimits shortLimits()
    {
        RVServiceHttpLimits limits;
        limits.headTimeoutMs = 400;
        limits.bodyTimeoutMs = 400;
        limits.idleTimeoutMs = 400;
        limits.lingerMs = 300;
        return limits;
    }

    std::unique_ptr<RVServiceThread> start(const RVServiceHttpLimits &limits)
    {
        RVServiceOptions options = RVServiceThread::ephemeralOptions();
        options.limits = limits;
        auto service = std::make_unique<RVServiceThread>(options);
        QString error;
        if (!service->startService(&error)) {
            qWarning("%s", qPrintable(error));
            return {};
        }
        return service;
    }

    std::unique_ptr<QTcpSocket> connectTo(const RVServiceThread &service)
    {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, service.port());
        return socket->waitForConnected(patience) ? std::move(socket) : nullptr;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_service = start(shortLimits());
        QVERIFY(m_service);
    }

    void declaredSizeDecidesBeforeTheBody_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("closes");
        const QByteArray post = "POST /hrzp2/ComService HTTP/1.1\r\nHost: h\r\n";
        QTest::newRow("400 MiB declared") << post + "Content-Length: 419430400\r\n\r\n"
                                          << 413 << true;
        QTest::newRow("one byte over 1 MiB") << post + "Content-Length: 1048577\r\n\r\n"
                                             << 413 << true;
        QTest::newRow("over 1 MiB, asking to continue")
            << post + "Expect: 100-continue\r\nContent-Length: 1048577\r\n\r\n"
            << 413 << true;
        QTest::newRow("exactly 1 MiB, asking to continue")
            << post + "Expect: 100-continue\r\nContent-Length: 1048576\r\n\r\n"
            << 100 << false;
    }

    void declaredSizeDecidesBeforeTheBody()
    {
        QFETCH(QByteArray, head);
        QFETCH(bool, closes);
        auto socket = connectTo(*m_service);
        QVERIFY(socket);
        socket->write(head); // the body is never sent
        QByteArray pending;
        const Reply reply = readReply(*socket, pending);
        QTEST(reply.status, "status");
        if (closes) {
            QVERIFY(reply.head.contains("Connection: close"));
            QVERIFY(closedWithin(*socket));
        } else {
            QCOMPARE(socket->state(), QAbstractSocket::ConnectedState);
        }
    }

    void chunkedUploadIsCutOff()
    {
        auto socket = connectTo(*m_service);
        QVERIFY(socket);
        socket->write(
            "POST /hrzp2/ComService HTTP/1.1\r\nHost: h\r\nTransfer-Encoding: chunked\r\n\r\n");
        const QByteArray chunk = "10000\r\n" + QByteArray(0x10000, 'x') + "\r\n";
        QByteArray pending;
        qint64 sent = 0;
        constexpr qint64 plenty = 64LL * 1024 * 1024;
        while (sent < plenty && socket->state() == QAbstractSocket::ConnectedState &&
               pending.indexOf("\r\n\r\n") < 0) {
            sent += socket->write(chunk);
            socket->waitForBytesWritten(1000);
            pending += socket->readAll();
        }
        const Reply reply = readReply(*socket, pending);
        QCOMPARE(reply.status, 413);
        QVERIFY2(sent < 8 * 1024 * 1024, qPrintable(QString::number(sent)));
        QVERIFY(closedWithin(*socket));
    }

    void stalledRequestsAreClosed_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QByteArray>("drip");
        QTest::newRow("silent after connecting") << QByteArray() << QByteArray();
        QTest::newRow("half a request line") << QByteArray("POST /hrzp2/Com") << QByteArray();
        QTest::newRow("head one byte at a time, never ending")
            << QByteArray("GET / HTTP/1.1\r\n") << QByteArray("X");
        QTest::newRow("body short of its length")
            << QByteArray(
                   "POST /hrzp2/ComService HTTP/1.1\r\nHost: h\r\nContent-Length: 100\r\n\r\nyhm=")
            << QByteArray();
        QTest::newRow("body one byte at a time")
            << QByteArray(
                   "POST /hrzp2/ComService HTTP/1.1\r\nHost: h\r\nContent-Length: 100000\r\n\r\n")
            << QByteArray("a");
    }

    void stalledRequestsAreClosed()
    {
        QFETCH(QByteArray, start);
        QFETCH(QByteArray, drip);
        auto socket = connectTo(*m_service);
        QVERIFY(socket);
        socket->write(start);
        QElapsedTimer clock;
        clock.start();
        QByteArray seen;
        // A byte now and then must not keep the connection: the deadline is for the whole.
        while (socket->state() == QAbstractSocket::ConnectedState && clock.elapsed() < patience) {
            if (!drip.isEmpty())
                socket->write(drip);
            socket->waitForReadyRead(50);
            seen += socket->readAll();
        }
        QVERIFY(socket->state() != QAbstractSocket::ConnectedState);
        if (!start.isEmpty())
            QVERIFY2(seen.startsWith("HTTP/1.1 408"), seen.constData());
    }

    void idleConnectionIsClosedAfterItsReplies()
    {
        auto socket = connectTo(*m_service);
        QVERIFY(socket);
        QByteArray pending;
        socket->write(lookup);
        QCOMPARE(readReply(*socket, pending).status, 200);
        QVERIFY(closedWithin(*socket));
        QVERIFY(pending.isEmpty()); // closed quietly, with no reply to a request never made
    }

    void persistentAndPipelined()
    {
        auto socket = connectTo(*m_service);
        QVERIFY(socket);
        const QByteArray form = "yhm=(null)&jym=B005&bwnr={\"body\":{}}";
        socket->write(
            lookup + "POST /hrzp2/ComService HTTP/1.1\r\nHost: h\r\nContent-Length: " +
            QByteArray::number(form.size()) + "\r\n\r\n" + form +
            "GET /nothing HTTP/1.1\r\nHost: h\r\n\r\nHEAD /lookup HTTP/1.1\r\nHost: h\r\n\r\n");
        QByteArray pending;
        QCOMPARE(readReply(*socket, pending).status, 200);
        const Reply b005 = readReply(*socket, pending);
        QCOMPARE(b005.status, 200);
        QVERIFY(b005.body.contains("\"succflag\":\"0\""));
        QCOMPARE(readReply(*socket, pending).status, 404);
        // A HEAD reply announces its length but carries no body: read the head alone.
        while (!pending.endsWith("\r\n\r\n") && socket->waitForReadyRead(patience))
            pending += socket->readAll();
        QVERIFY(pending.startsWith("HTTP/1.1 200"));
        QVERIFY(pending.endsWith("\r\n\r\n"));
        pending.clear();
        // The connection is still good for another request.
        socket->write(lookup);
        QCOMPARE(readReply(*socket, pending).status, 200);
    }

    void http10ClosesUnlessAsked()
    {
        auto socket = connectTo(*m_service);
        QVERIFY(socket);
        socket->write("GET /lookup?id=2 HTTP/1.0\r\n\r\n");
        QByteArray pending;
        const Reply reply = readReply(*socket, pending);
        QCOMPARE(reply.status, 200);
        QVERIFY(reply.head.contains("Connection: close"));
        QVERIFY(closedWithin(*socket));
    }

    void connectionCap()
    {
        RVServiceHttpLimits limits = shortLimits();
        limits.maxConnections = 3;
        limits.idleTimeoutMs = 60'000; // the held connections must outlive the test
        limits.headTimeoutMs = 60'000;
        auto service = start(limits);
        QVERIFY(service);
        std::vector<std::unique_ptr<QTcpSocket>> held;
        QByteArray pending;
        for (int i = 0; i < limits.maxConnections; ++i) {
            held.push_back(connectTo(*service));
            QVERIFY(held.back());
            held.back()->write(lookup);
            QCOMPARE(readReply(*held.back(), pending).status, 200);
        }
        auto refused = connectTo(*service);
        QVERIFY(refused);
        refused->write(lookup);
        const Reply reply = readReply(*refused, pending);
        QCOMPARE(reply.status, 503);
        QVERIFY(closedWithin(*refused));
        // Held connections keep being served; one that goes makes room for a new one.
        held.front()->write(lookup);
        QCOMPARE(readReply(*held.front(), pending).status, 200);
        held.front()->disconnectFromHost();
        held.erase(held.begin());
        Reply again;
        for (int attempt = 0; attempt < 50 && again.status != 200; ++attempt) {
            auto socket = connectTo(*service);
            QVERIFY(socket);
            socket->write(lookup);
            again = readReply(*socket, pending);
            pending.clear();
            if (again.status != 200)
                QTest::qWait(100); // the service may not have seen the close yet
        }
        QCOMPARE(again.status, 200);
    }

    void boundPerAddress_data()
    {
        QTest::addColumn<int>("held"); // connections from the address before the next one
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("next");
        QTest::addColumn<bool>("admitted");
        QTest::newRow("under") << 1 << u"127.0.0.2"_s << u"127.0.0.2"_s << true;
        QTest::newRow("the last one allowed") << 2 << u"127.0.0.2"_s << u"127.0.0.2"_s << true;
        QTest::newRow("over") << 3 << u"127.0.0.2"_s << u"127.0.0.2"_s << false;
        QTest::newRow("over, mapped IPv6") << 3 << u"127.0.0.2"_s << u"::ffff:127.0.0.2"_s << false;
        QTest::newRow("over, another address") << 3 << u"127.0.0.2"_s << u"127.0.1.2"_s << true;
        QTest::newRow("over, trusted proxy") << 3 << u"127.0.0.1"_s << u"127.0.0.1"_s << true;
    }

    void boundPerAddress()
    {
        QFETCH(int, held);
        QFETCH(QString, from);
        QFETCH(QString, next);
        RVServiceHttpLimits limits;
        limits.maxConnectionsPerAddress = 3;
        limits.trustedProxies = {QHostAddress(u"::ffff:127.0.0.1"_s)};
        RVServiceHttpAddressBound bound(limits);
        for (int i = 0; i < held; ++i)
            QVERIFY(bound.take(bound.counted(QHostAddress(from))));
        QTEST(bound.take(bound.counted(QHostAddress(next))), "admitted");
        bound.give(bound.counted(QHostAddress(from)));
        QVERIFY(bound.take(bound.counted(QHostAddress(next)))); // a place given back is free
    }

    void honestClientsServedBesideSilentOnes()
    {
        RVServiceHttpLimits limits;
        limits.maxConnections = 300;
        limits.maxConnectionsPerAddress = 0; // the cap for all, seen from one address
        auto service = start(limits);
        QVERIFY(service);
        std::vector<std::unique_ptr<QTcpSocket>> silent;
        for (int i = 0; i < 200; ++i) {
            silent.push_back(connectTo(*service));
            QVERIFY(silent.back());
            if (i % 2)
                silent.back()->write("POST /hrzp2/ComService HTTP/1.1\r\nContent-Le");
        }
        for (int i = 0; i < 5; ++i) {
            auto honest = connectTo(*service);
            QVERIFY(honest);
            honest->write(lookup);
            QByteArray pending;
            QCOMPARE(readReply(*honest, pending).status, 200);
        }
    }

    void cleanupTestCase() { m_service.reset(); }
};

QTEST_GUILESS_MAIN(TestRVServiceLimits)
#include "tst_rvservicelimits.moc"
