// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// Prints what a patient on a slow link feels of the service client's transport, beside the
// previous transport (a new Qt network manager, and so a new connection, per exchange):
//  1. through a loopback proxy that delays each direction by 20 ms (a 40 ms round trip, and
//     one round trip more before a new connection may carry its request), 20 sequential 'B'
//     and 20 sequential 'C' exchanges from one worker, each through a fresh client; the
//     median per exchange in round trips (goal <= 1.15);
//  2. eight workers each running 100 'B' exchanges straight to the service: throughput.
// Both against rv-service running in this process on its own thread.
#include "protocols/rvhttpexchange.h"
#include "protocols/rvloginvalues.h"
#include "protocols/rvnetworklayer.h"
#include "protocols/rvprotocol.h"
#include "protocols/rvuserregister.h"
#include "service/rvservicethread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace
{

constexpr int oneWayDelayMs = 20;
constexpr double roundTripMs = 2.0 * oneWayDelayMs;

// Forwards every connection to the service, holding each chunk back by the one-way delay. A
// new connection's first request is held back one round trip more: on a real link the
// connection's handshake takes that long before the request can leave.
class LatencyProxy final : public QObject
{
public:
    explicit LatencyProxy(quint16 target) : m_target(target) {}

    quint16 listen()
    {
        connect(&m_server, &QTcpServer::newConnection, this, &LatencyProxy::onConnection);
        m_server.listen(QHostAddress::LocalHost, 0);
        return m_server.serverPort();
    }

private:
    void onConnection()
    {
        while (QTcpSocket *client = m_server.nextPendingConnection()) {
            auto *service = new QTcpSocket(client);
            service->connectToHost(QHostAddress::LocalHost, m_target);
            // Forward each chunk as it comes: Nagle's wait for an acknowledgement is not part
            // of the link being imitated.
            client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            service->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            QElapsedTimer *opened = new QElapsedTimer;
            opened->start();
            connect(client, &QObject::destroyed, [opened] { delete opened; });
            connect(client, &QTcpSocket::readyRead, client, [client, service, opened] {
                const qint64 handshakeLeft =
                    std::max<qint64>(0, 2 * oneWayDelayMs - opened->elapsed());
                forward(client, service, int(oneWayDelayMs + handshakeLeft));
            });
            connect(service, &QTcpSocket::readyRead, client,
                    [client, service] { forward(service, client, oneWayDelayMs); });
            connect(client, &QTcpSocket::disconnected, client, [client, service] {
                QTimer::singleShot(oneWayDelayMs, service, [service, client] {
                    service->disconnectFromHost();
                    client->deleteLater();
                });
            });
            connect(service, &QTcpSocket::disconnected, client, [client] {
                QTimer::singleShot(oneWayDelayMs, client,
                                   [client] { client->disconnectFromHost(); });
            });
        }
    }
    static void forward(QTcpSocket *from, QTcpSocket *to, int delayMs)
    {
        const QByteArray bytes = from->readAll();
        QTimer::singleShot(delayMs, Qt::PreciseTimer, to, [to, bytes] { to->write(bytes); });
    }

    QTcpServer m_server{this}; // a child, so that it moves to the proxy's thread too
    quint16 m_target;
};

// The previous transport, kept callable for comparison: every exchange makes its own Qt
// network manager on a thread of its own, so every exchange opens a new connection.
class ManagerPerExchangeLayer final : public RVNetworkLayer
{
public:
    quint64 start(const Request &request, std::shared_ptr<Sink> sink) override
    {
        std::thread([request, sink] {
            QNetworkAccessManager manager;
            QNetworkRequest qtRequest(request.url);
            qtRequest.setHeader(QNetworkRequest::ContentTypeHeader,
                                QByteArrayLiteral("application/x-www-form-urlencoded"));
            qtRequest.setTransferTimeout(request.idleTimeoutMs);
            QEventLoop loop;
            QNetworkReply *reply = manager.post(qtRequest, request.body);
            QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
            loop.exec();
            const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
            if (status.isValid()) {
                sink->response(status.toInt(), u"{}"_s);
                sink->data(reply->readAll());
                sink->end({});
            } else {
                sink->end({FailureKind::Other, reply->errorString()});
            }
            delete reply;
        }).detach();
        return ++m_next;
    }
    void cancel(quint64) override {}

private:
    std::atomic<quint64> m_next{0};
};

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// Runs work on a worker thread of its own, as the screens do, and waits for it.
template <class F> void onWorker(F &&work)
{
    std::thread worker(std::forward<F>(work));
    worker.join();
}

// The registered user's identifier, which the booking history asks for.
QString userId;

std::vector<double> sequential(int count, RVNetworkLayer *layer, bool userTransaction, int *ok)
{
    std::vector<double> times;
    onWorker([&] {
        for (int i = 0; i < count; ++i) {
            QElapsedTimer timer;
            timer.start();
            auto client = RVProtocol::create(); // a fresh client per exchange
            client->setNetworkLayer(layer);
            if (userTransaction)
                client->reserationHistoryListWithTime({}, userId, QString());
            else
                client->doctorList({}, {}, {}, {}, i % 5 + 1, 8);
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
            *ok += client->lastRepuestStats() ? 1 : 0;
        }
    });
    return times;
}

void latencyRun(quint16 servicePort, quint16 proxyPort, RVNetworkLayer *previous)
{
    // The same exchanges without the proxy: what the machine itself adds to each.
    RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, servicePort);
    for (const bool user : {false, true}) {
        int ok = 0;
        const double ms = median(sequential(20, nullptr, user, &ok));
        std::printf("no added latency,  shared connection %s x20: median %.2f ms, %d/20 "
                    "succeeded\n",
                    user ? "'C' C002" : "'B' B006", ms, ok);
    }
    RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, proxyPort);
    struct Transport {
        const char *name;
        RVNetworkLayer *layer;
    };
    const Transport transports[] = {{"shared connection", nullptr}, {"previous", previous}};
    for (const Transport &transport : transports) {
        for (const bool user : {false, true}) {
            int ok = 0;
            const double ms = median(sequential(20, transport.layer, user, &ok));
            std::printf("latency 40 ms RTT, %-17s %s x20: median %.1f ms = %.2f round trips "
                        "(goal <= 1.15), %d/20 succeeded\n",
                        transport.name, user ? "'C' C002" : "'B' B006", ms, ms / roundTripMs, ok);
        }
    }
}

void throughputRun(quint16 servicePort, RVNetworkLayer *previous)
{
    RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, servicePort);
    constexpr int workers = 8;
    constexpr int perWorker = 100;
    for (RVNetworkLayer *layer : {static_cast<RVNetworkLayer *>(nullptr), previous}) {
        std::atomic<int> ok{0};
        QElapsedTimer timer;
        timer.start();
        std::vector<std::thread> threads;
        for (int w = 0; w < workers; ++w)
            threads.emplace_back([&, w] {
                for (int i = 0; i < perWorker; ++i) {
                    RVProtocol client;
                    client.setNetworkLayer(layer);
                    client.doctorList({}, {}, {}, {}, (w + i) % 5 + 1, 8);
                    ok += client.lastRepuestStats() ? 1 : 0;
                }
            });
        for (std::thread &t : threads)
            t.join();
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        std::printf("8 workers x 100 'B' B006, %-17s: %.0f exchanges/s, %d/%d succeeded\n",
                    layer == nullptr ? "shared connection" : "previous",
                    workers * perWorker / seconds, ok.load(), workers * perWorker);
    }
}

bool registerUser()
{
    RVUserRegister form;
    form.setYhm(u"latency-user"_s);
    form.setMm(u"latency-pass"_s);
    form.setXm(u"延迟测试"_s);
    form.setSfzhm(u"330102199001011234"_s);
    form.setSjhm(u"13900008888"_s);
    bool ok = false;
    onWorker([&] {
        const auto user = RVProtocol().userRegister(form.body_dict());
        ok = user && user->state();
        if (ok)
            userId = RVBaseInfo::text(user->yhid());
    });
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    RVServiceThread service;
    QString error;
    if (!service.startService(&error)) {
        std::fprintf(stderr, "cannot start the service: %s\n", qPrintable(error));
        return 1;
    }
    QThread proxyThread;
    proxyThread.start();
    auto *proxy = new LatencyProxy(service.port());
    proxy->moveToThread(&proxyThread);
    quint16 proxyPort = 0;
    QMetaObject::invokeMethod(
        proxy, [&] { proxyPort = proxy->listen(); }, Qt::BlockingQueuedConnection);

    ManagerPerExchangeLayer previous;
    RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, service.port());
    if (!registerUser()) {
        std::fprintf(stderr, "cannot register the benchmark user\n");
        return 1;
    }
    latencyRun(service.port(), proxyPort, &previous);
    throughputRun(service.port(), &previous);

    QMetaObject::invokeMethod(
        proxy, [proxy] { delete proxy; }, Qt::BlockingQueuedConnection);
    proxyThread.quit();
    proxyThread.wait();
    return 0;
}
