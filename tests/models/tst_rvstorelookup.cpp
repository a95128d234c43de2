// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvstorelookup.h"
#include "protocols/rvhttpexchange.h"
#include "protocols/rvnetworklayer.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{
// Answers every transfer at once with the scripted status and body, or fails it.
class ScriptedLayer final : public RVNetworkLayer
{
public:
    quint64 start(const Request &request, std::shared_ptr<Sink> sink) override
    {
        requests << request;
        if (!failure)
            sink->response(200, {});
        sink->data(body);
        sink->end(failure);
        return quint64(requests.size());
    }
    void cancel(quint64) override {}

    QByteArray body;
    Failure failure;
    QList<Request> requests;
};
} // namespace

class TestRVStoreLookup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void offersUpdate_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("offered");
        QTest::newRow("same version")
            << QByteArray(R"({"results":[{"version":"1.0.0"}]})") << false;
        QTest::newRow("newer") << QByteArray(R"({"results":[{"version":"1.1.0"}]})") << true;
        QTest::newRow("older still offers")
            << QByteArray(R"({"results":[{"version":"0.9"}]})") << true;
        QTest::newRow("only the first result counts")
            << QByteArray(R"({"results":[{"version":"1.0.0"},{"version":"2"}]})") << false;
        QTest::newRow("no results") << QByteArray(R"({"results":[]})") << false;
        QTest::newRow("no answer") << QByteArray() << false;
        QTest::newRow("not JSON") << QByteArray("<html>") << false;
    }
    void offersUpdate()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, offered);
        QCOMPARE(RVStoreLookup::offersUpdate(answer, u"1.0.0"_s), offered);
    }

    // The lookup goes through the network layer with the limits of every exchange; without
    // an answer it ends all the same, empty.
    void asksThroughTheNetworkLayer_data()
    {
        QTest::addColumn<int>("failure");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("answered") << int(RVNetworkLayer::FailureKind::None) << QByteArray("{}");
        QTest::newRow("cannot connect")
            << int(RVNetworkLayer::FailureKind::CannotConnect) << QByteArray();
    }
    void asksThroughTheNetworkLayer()
    {
        QFETCH(int, failure);
        QFETCH(QByteArray, answer);
        ScriptedLayer layer;
        layer.body = "{}";
        layer.failure = {RVNetworkLayer::FailureKind(failure), u"library text"_s};
        RVStoreLookup lookup;
        lookup.setNetworkLayer(&layer);
        QSignalSpy finished(&lookup, &RVStoreLookup::finished);
        const QUrl url(u"http://127.0.0.1:8080/lookup?id=rvpatient"_s);
        lookup.ask(url);
        QVERIFY(finished.wait(2000));
        QCOMPARE(finished.first().first().toByteArray(), answer);
        QCOMPARE(layer.requests.size(), 1);
        const RVNetworkLayer::Request &request = layer.requests.first();
        QCOMPARE(request.method, RVNetworkLayer::Method::Post);
        QCOMPARE(request.url, url);
        QCOMPARE(request.idleTimeoutMs, RVHttpExchange::timeoutMs());
        QCOMPARE(request.maxBodyBytes, qint64(RVHttpExchange::maxReplyBytes));
    }
};

QTEST_GUILESS_MAIN(TestRVStoreLookup)
#include "tst_rvstorelookup.moc"
