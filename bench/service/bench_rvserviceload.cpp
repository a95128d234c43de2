// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// rv-service under hostile load, on loopback only and bounded in count and time. Each phase
// starts its own rv-service process (in-memory database) so that its peak memory (VmHWM)
// belongs to that phase alone:
//   1. 8 honest clients, each on one kept-alive connection, asking doctor-list pages;
//   2. the same beside 1,000 hostile connections (half silent, half sending a request head a
//      byte a second; any the service closes is opened again at once);
//   3. several clients each sending a 400 MiB body (declared, and chunked), which the
//      service must cut off early.
// Prints the honest throughput, the service's peak memory, and what the uploads got through.
//
// Usage: bench_rvserviceload [seconds per honest phase, default 5]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <memory>
#include <vector>

#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace
{
constexpr int honestClients = 8;
constexpr int hostileConnections = 1000;
constexpr int uploaders = 4;
constexpr qint64 uploadBytes = 400LL * 1024 * 1024;

// The service as a child process; the port is read from its first line.
struct Service {
    QProcess process;
    quint16 port = 0;

    bool start()
    {
        process.setProgram(QStringLiteral(RV_SERVICE_EXECUTABLE));
        process.setArguments({u"--listen"_s, u"127.0.0.1:0"_s, u"--db"_s, u":memory:"_s,
                              u"--seed"_s, u"--max-connections"_s, u"2000"_s,
                              // every client here shares one address: the cap for all is measured
                              u"--max-connections-per-address"_s, u"0"_s});
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.start();
        if (!process.waitForStarted(10'000) || !process.waitForReadyRead(30'000))
            return false;
        const QString line = QString::fromUtf8(process.readLine());
        const auto match = QRegularExpression(u":(\\d+) "_s).match(line);
        port = match.hasMatch() ? match.captured(1).toUShort() : 0;
        return port != 0;
    }
    // Peak resident memory of the service so far, in MiB.
    double peakMiB() const
    {
        QFile status(u"/proc/%1/status"_s.arg(process.processId()));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        return -1;
    }
    ~Service()
    {
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished(5000);
    }
};

QByteArray doctorPage(int page)
{
    const QByteArray form = "yhm=(null)&jym=B006&bwnr={\"head\":{\"trcode\":\"B006\"},"
                            "\"body\":{\"dqym\":" +
                            QByteArray::number(page) + ",\"xssl\":8}}";
    return "POST /hrzp2/ComService HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: " +
           QByteArray::number(form.size()) + "\r\n\r\n" + form;
}

// One reply's status from a kept-alive connection, or -1.
int readStatus(QTcpSocket &socket, QByteArray &pending)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 30'000) {
        const qsizetype end = pending.indexOf("\r\n\r\n");
        if (end >= 0) {
            const qsizetype at = pending.indexOf("Content-Length: ");
            const qsizetype length =
                at >= 0 && at < end
                    ? pending.mid(at + 16, pending.indexOf('\r', at) - at - 16).toLongLong()
                    : 0;
            if (pending.size() >= end + 4 + length) {
                const int status = pending.mid(9, 3).toInt();
                pending.remove(0, end + 4 + length);
                return status;
            }
        }
        if (!socket.waitForReadyRead(1000) && socket.state() != QAbstractSocket::ConnectedState)
            return -1;
        pending += socket.readAll();
    }
    return -1;
}

struct HonestResult {
    double perSecond = 0;
    int failures = 0;
};

// The honest clients for the given time; the main thread's event loop keeps running.
HonestResult runHonest(quint16 port, int seconds)
{
    std::atomic<int> done{0}, failed{0}, finished{0};
    std::vector<std::unique_ptr<QThread>> threads;
    QElapsedTimer clock;
    clock.start();
    for (int c = 0; c < honestClients; ++c) {
        threads.emplace_back(QThread::create([&, c] {
            QTcpSocket socket;
            QByteArray pending;
            QElapsedTimer mine;
            mine.start();
            for (int i = 0; mine.elapsed() < seconds * 1000; ++i) {
                if (socket.state() != QAbstractSocket::ConnectedState) {
                    socket.connectToHost(QHostAddress::LocalHost, port);
                    if (!socket.waitForConnected(5000)) {
                        ++failed;
                        continue;
                    }
                    pending.clear();
                }
                socket.write(doctorPage(1 + (c + i) % 15));
                if (readStatus(socket, pending) == 200)
                    ++done;
                else
                    ++failed;
            }
            ++finished;
        }));
        threads.back()->start();
    }
    while (finished.load() < honestClients)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    for (auto &t : threads)
        t->wait();
    return {done.load() * 1000.0 / std::max<qint64>(1, clock.elapsed()), failed.load()};
}

// 1,000 connections that hold the service: half silent, half dripping a head. The event
// loop of the main thread drives them while the honest clients run.
class Hostiles final : public QObject
{
public:
    explicit Hostiles(quint16 port) : m_port(port)
    {
        for (int i = 0; i < hostileConnections; ++i)
            open(i);
        connect(&m_drip, &QTimer::timeout, this, [this] {
            for (int i = 0; i < hostileConnections; ++i) {
                if (m_sockets[i]->state() == QAbstractSocket::UnconnectedState)
                    open(i);
                else if (i % 2 && m_sockets[i]->state() == QAbstractSocket::ConnectedState)
                    m_sockets[i]->write("X");
            }
        });
        m_drip.start(1000);
    }
    int connected() const
    {
        int n = 0;
        for (const auto &s : m_sockets)
            n += s->state() == QAbstractSocket::ConnectedState;
        return n;
    }
    int reopened = 0;

private:
    void open(int i)
    {
        if (m_sockets.size() <= static_cast<size_t>(i))
            m_sockets.resize(i + 1);
        else
            ++reopened;
        m_sockets[i] = std::make_unique<QTcpSocket>();
        m_sockets[i]->connectToHost(QHostAddress::LocalHost, m_port);
        if (i % 2)
            connect(m_sockets[i].get(), &QTcpSocket::connected, m_sockets[i].get(),
                    [s = m_sockets[i].get()] { s->write("POST /hrzp2/ComService HTTP/1.1\r\n"); });
    }

    quint16 m_port;
    std::vector<std::unique_ptr<QTcpSocket>> m_sockets;
    QTimer m_drip;
};

// One client sending a 400 MiB body; returns the bytes the service let it send.
qint64 upload(quint16 port, bool chunked, int *status)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(5000))
        return -1;
    socket.write(chunked ? QByteArray("POST /hrzp2/ComService HTTP/1.1\r\nHost: h\r\n"
                                      "Transfer-Encoding: chunked\r\n\r\n")
                         : "POST /hrzp2/ComService HTTP/1.1\r\nHost: h\r\nContent-Length: " +
                               QByteArray::number(uploadBytes) + "\r\n\r\n");
    const QByteArray block(1024 * 1024, 'x');
    const QByteArray piece = chunked ? "100000\r\n" + block + "\r\n" : block;
    QByteArray reply;
    qint64 sent = 0;
    while (sent < uploadBytes && socket.state() == QAbstractSocket::ConnectedState &&
           !reply.contains("\r\n\r\n")) {
        if (socket.write(piece) < 0)
            break;
        sent += block.size();
        socket.waitForBytesWritten(2000);
        reply += socket.readAll();
    }
    socket.waitForReadyRead(2000);
    reply += socket.readAll();
    *status = reply.startsWith("HTTP/1.1 ") ? reply.mid(9, 3).toInt() : -1;
    return sent;
}

void raiseDescriptorLimit()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}
} // namespace

int main(int argc, char *argv[])
{
    raiseDescriptorLimit();
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::clamp(QByteArray(argv[1]).toInt(), 1, 60) : 5;
    std::printf("rv-service load: %d honest clients, %d s per phase\n", honestClients, seconds);

    {
        Service service;
        if (!service.start())
            return std::puts("cannot start rv-service"), 1;
        const HonestResult alone = runHonest(service.port, seconds);
        std::printf("honest alone:               %8.0f exchanges/s, %d failed, peak %.1f MiB\n",
                    alone.perSecond, alone.failures, service.peakMiB());
    }
    {
        Service service;
        if (!service.start())
            return std::puts("cannot start rv-service"), 1;
        Hostiles hostiles(service.port);
        QElapsedTimer settle;
        settle.start();
        while (hostiles.connected() < hostileConnections && settle.elapsed() < 10'000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        const int before = hostiles.connected();
        const HonestResult beside = runHonest(service.port, seconds);
        std::printf("honest beside %4d hostile:  %8.0f exchanges/s, %d failed, peak %.1f MiB"
                    " (hostile reopened after the service closed them: %d)\n",
                    before, beside.perSecond, beside.failures, service.peakMiB(),
                    hostiles.reopened);
    }
    {
        Service service;
        if (!service.start())
            return std::puts("cannot start rv-service"), 1;
        const double idle = service.peakMiB();
        std::atomic<qint64> total{0};
        std::vector<std::unique_ptr<QThread>> threads;
        std::vector<int> statuses(uploaders * 2, 0);
        std::vector<qint64> sent(uploaders * 2, 0);
        for (int i = 0; i < uploaders * 2; ++i) {
            threads.emplace_back(QThread::create([&, i] {
                sent[i] = upload(service.port, i % 2, &statuses[i]);
                total += sent[i];
            }));
            threads.back()->start();
        }
        for (auto &t : threads)
            t->wait();
        std::printf("%d uploads of 400 MiB (half declared, half chunked): peak %.1f MiB "
                    "(%.1f MiB idle)\n",
                    uploaders * 2, service.peakMiB(), idle);
        for (int i = 0; i < uploaders * 2; ++i)
            std::printf("  %s: status %d after %.1f MiB sent\n", i % 2 ? "chunked " : "declared",
                        statuses[i], sent[i] / 1048576.0);
    }
    return 0;
}
