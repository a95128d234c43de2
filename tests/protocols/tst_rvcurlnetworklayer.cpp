// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// Quitting while a worker waits on a service that never answers: the network layer ends the
// wait with a failure at once, and refuses what starts afterwards, instead of holding the
// worker for the whole time-out.
#include "protocols/rvcurlnetworklayer.h"
#include "protocols/rvhttpexchange.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <future>
#include <vector>

class TestRVCurlNetworkLayer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void abortAllEndsWaitingAndLaterTransfers_data();
    void abortAllEndsWaitingAndLaterTransfers();
};

void TestRVCurlNetworkLayer::abortAllEndsWaitingAndLaterTransfers_data()
{
    QTest::addColumn<int>("waiting");
    QTest::newRow("abort before the first transfer") << 0;
    QTest::newRow("one worker waiting") << 1;
    QTest::newRow("three workers waiting") << 3;
}

void TestRVCurlNetworkLayer::abortAllEndsWaitingAndLaterTransfers()
{
    QFETCH(int, waiting);
    // Accepts and reads, never answers.
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    QList<QTcpSocket *> held;
    connect(&silent, &QTcpServer::newConnection, this, [&] {
        while (QTcpSocket *socket = silent.nextPendingConnection())
            held.append(socket);
    });
    const QUrl url(u"http://127.0.0.1:%1/hrzp2/ComService"_qs.arg(silent.serverPort()));
    RVCurlNetworkLayer layer;
    auto post = [&layer, url] {
        return RVHttpExchange::postBlocking(url, "yhm=&jym=C002&bwnr=00",
                                            RVHttpExchange::Resend::Never, &layer);
    };
    std::vector<std::future<RVHttpExchange::Result>> workers;
    for (int i = 0; i < waiting; ++i)
        workers.push_back(std::async(std::launch::async, post));
    QTRY_COMPARE_WITH_TIMEOUT(held.size(), waiting, 10000);

    QElapsedTimer clock;
    clock.start();
    layer.abortAll();
    for (auto &worker : workers) {
        // Far below the 30-second time-out: the wait ended because of the abort.
        QCOMPARE(worker.wait_for(std::chrono::seconds(10)), std::future_status::ready);
        const RVHttpExchange::Result result = worker.get();
        QVERIFY(result.transportError);
        QVERIFY(!result.errorDescription.isEmpty());
        QVERIFY(result.body.isEmpty());
    }
    QVERIFY2(clock.elapsed() < 10000, "the abort ended the waits");

    auto later = std::async(std::launch::async, post);
    QCOMPARE(later.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    QVERIFY(later.get().transportError);
    QCOMPARE(held.size(), waiting); // nothing new reached the service
}

QTEST_GUILESS_MAIN(TestRVCurlNetworkLayer)
#include "tst_rvcurlnetworklayer.moc"
