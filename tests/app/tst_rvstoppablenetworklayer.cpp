// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "app/rvstoppablenetworklayer.h"
#include "protocols/rvhttpexchange.h"

#include <QTest>

#include <map>
#include <memory>
#include <thread>

using namespace Qt::StringLiterals;

namespace
{

// A layer whose transfers end only when the test says so.
class ScriptedLayer final : public RVNetworkLayer
{
public:
    quint64 start(const Request &, std::shared_ptr<Sink> sink) override
    {
        const quint64 id = ++m_last;
        m_sinks.emplace(id, std::move(sink));
        return id;
    }
    void cancel(quint64 transfer) override { m_cancelled.append(transfer); }

    Sink &sink(quint64 id) { return *m_sinks.at(id); }
    QList<quint64> cancelled() const { return m_cancelled; }

private:
    quint64 m_last = 0;
    std::map<quint64, std::shared_ptr<Sink>> m_sinks;
    QList<quint64> m_cancelled;
};

// Counts what reaches the client.
class CountingSink final : public RVNetworkLayer::Sink
{
public:
    void response(int, const QString &) override { ++responses; }
    void data(const QByteArray &) override { ++chunks; }
    void end(const RVNetworkLayer::Failure &failure) override
    {
        ++ends;
        lastFailure = failure.kind;
    }

    int responses = 0;
    int chunks = 0;
    int ends = 0;
    RVNetworkLayer::FailureKind lastFailure = RVNetworkLayer::FailureKind::None;
};

} // namespace

class TestRVStoppableNetworkLayer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stop_data()
    {
        QTest::addColumn<QString>("when");
        QTest::addColumn<int>("ends");
        QTest::addColumn<bool>("failed");
        QTest::newRow("under way: ended by the stop") << u"under way"_s << 1 << true;
        QTest::newRow("finished before the stop: not ended again") << u"finished"_s << 1 << false;
        QTest::newRow("started after the stop: ended at once") << u"after"_s << 1 << true;
        QTest::newRow("real end after the stop: not passed on") << u"real end after"_s << 1 << true;
    }

    // Each transfer's sink sees exactly one end, the stop's when the transfer was still
    // under way, and nothing of the real layer after that.
    void stop()
    {
        QFETCH(QString, when);
        QFETCH(int, ends);
        QFETCH(bool, failed);
        ScriptedLayer inner;
        RVStoppableNetworkLayer layer(&inner);
        auto sink = std::make_shared<CountingSink>();
        if (when == u"after")
            layer.stop();
        const quint64 id = layer.start({}, sink);
        QVERIFY(id != 0);
        if (when == u"finished")
            inner.sink(id).end({});
        if (when != u"after")
            layer.stop();
        if (when == u"under way" || when == u"real end after")
            QCOMPARE(inner.cancelled(), QList<quint64>{id});
        if (when == u"real end after") {
            inner.sink(id).response(200, QString());
            inner.sink(id).data("late");
            inner.sink(id).end({});
        }
        QCOMPARE(sink->ends, ends);
        QCOMPARE(sink->lastFailure != RVNetworkLayer::FailureKind::None, failed);
        QCOMPARE(sink->chunks, 0);
        QVERIFY(layer.isStopped());
    }

    // A worker blocked in an exchange on this layer returns as soon as the layer stops.
    void blockingExchangeReturnsAtTheStop()
    {
        ScriptedLayer inner;
        RVStoppableNetworkLayer layer(&inner);
        RVHttpExchange::Result result;
        std::thread worker([&] {
            result = RVHttpExchange::postBlocking(QUrl(u"http://127.0.0.1:9/x"_s), "a=1",
                                                  RVNetworkLayer::Resend::Never, &layer);
        });
        QTest::qWait(100); // the worker is waiting now (the scripted layer never ends)
        layer.stop();
        worker.join();
        QVERIFY(result.transportError);
    }
};

QTEST_GUILESS_MAIN(TestRVStoppableNetworkLayer)
#include "tst_rvstoppablenetworklayer.moc"
