// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// Throughput and latency of rv-service over loopback: doctor-list pages ("B006") and booking
// pairs (a "C001" booking followed by its "C005" cancel, on a few contested half-days) with
// 8, 16, 32 and 64 clients, against SQLite and PostgreSQL, with one service process and with
// two sharing the database, beside the bare HTTP reply of the service's own HTTP layer. Every
// service and the bare server run as child processes, started once and measured side by side
// for each number of clients, so that the ratios in one run compare like with like on a
// shared machine. After every booking run the store itself is read: no slot may hold two live
// bookings and the places of every contested half-day must add up.
//
// PostgreSQL is measured when libpq's environment names a server, as pg_virtualenv sets it:
//   pg_virtualenv -t bench_rvservice [--seconds S] [--rounds R] [--clients 8,16,32,64]
//                                    [--workers N] [--reply-cache MB] [--raw-clients]
//                                    [--before PROGRAM]
// Each row is measured in R rounds of S seconds, the rows taking turns, and shows the median
// round's exchanges per second (a booking pair is two exchanges) and the latencies of all.
// The clients post through the application's own network layer, as the patient client does;
// with --raw-clients each is a bare blocking socket instead, which shows the ceiling of the
// HTTP layer itself. --before names an earlier build of rv-service, whose rows ("before") run
// beside every configuration in the same rounds, so that a change is measured side by side.
#include "benchbooking.h"
#include "benchhttpclient.h"
#include "benchservice.h"
#include "benchstore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <map>
#include <thread>
#include <tuple>

using namespace Qt::StringLiterals;

namespace
{
constexpr int contestedHalfDays = 8;
constexpr int placesPerHalfDay = 8;

struct Configuration {
    QString store;
    int processes = 1;
    QString program;
    QStringList options;
    std::unique_ptr<BenchStore> data;
    std::vector<std::unique_ptr<BenchService>> services;
    std::unique_ptr<BenchBooking> booking;
};

using Step = std::function<int(BenchHttpClient &, int, int, QList<qint64> &)>;

// One row of the table: a workload against some servers, and what its rounds gave.
struct Cell {
    Cell(const char *w, Configuration *c, QList<quint16> p, Step s)
        : workload(w), config(c), ports(std::move(p)), step(std::move(s))
    {
    }
    const char *workload;
    Configuration *config; // none for the bare server
    QList<quint16> ports;
    Step step;
    QList<double> rates;
    QList<qint64> latencies; // microseconds, every exchange of every round
    int failures = 0;

    double rate() const // the median round: a shared machine disturbs some rounds
    {
        QList<double> sorted = rates;
        std::sort(sorted.begin(), sorted.end());
        return sorted.isEmpty() ? 0 : sorted.at(sorted.size() / 2);
    }
    double percentileMs(int percent)
    {
        std::sort(latencies.begin(), latencies.end());
        return latencies.isEmpty() ? 0
                                   : latencies.at(std::min(latencies.size() - 1,
                                                           latencies.size() * percent / 100)) /
                                         1000.0;
    }
};

// Runs the cell's step on each client's thread until the time is up; the step makes one or
// more exchanges, noting each one's latency, and returns how many of them failed.
void measure(Cell &cell, int clients, int seconds, bool raw)
{
    std::vector<QList<qint64>> latencies(clients);
    std::vector<int> failures(clients, 0);
    std::vector<std::thread> threads;
    QElapsedTimer clock;
    clock.start();
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&, c] {
            BenchHttpClient client(cell.ports.at(c % cell.ports.size()), raw);
            for (int i = 0; clock.elapsed() < seconds * 1000; ++i)
                failures[c] += cell.step(client, c, i, latencies[c]);
        });
    }
    for (std::thread &t : threads)
        t.join();
    const double elapsed = clock.elapsed() / 1000.0;
    qsizetype exchanges = 0;
    for (int c = 0; c < clients; ++c) {
        exchanges += latencies[c].size();
        cell.latencies += latencies[c];
        cell.failures += failures[c];
    }
    cell.rates.append(exchanges / elapsed);
}

int timedPost(BenchHttpClient &client, const QByteArray &form, QList<qint64> &latencies)
{
    QElapsedTimer clock;
    clock.start();
    const bool answered = client.post(form).has_value();
    latencies.append(clock.nsecsElapsed() / 1000);
    return answered ? 0 : 1;
}

QByteArray doctorPage(int page)
{
    return "yhm=(null)&jym=B006&bwnr={\"head\":{\"trcode\":\"B006\"},\"body\":{\"dqym\":\"" +
           QByteArray::number(page) + "\",\"xssl\":\"8\"}}";
}

void printRow(int clients, Cell &cell, double bare, const QString &soldTwice)
{
    std::printf("| %3d | %-9s | %-18s | %s | %7.0f | %5.2f | %7.2f | %7.2f | %s |\n", clients,
                cell.workload, cell.config ? qPrintable(cell.config->store) : "-",
                cell.config ? qPrintable(QString::number(cell.config->processes)) : "-",
                cell.rate(), cell.rate() / bare, cell.percentileMs(50), cell.percentileMs(99),
                qPrintable(soldTwice));
    if (cell.failures > 0)
        std::printf("|     | (%d exchanges failed) | | | | | | | |\n", cell.failures);
    std::fflush(stdout);
}

bool startConfiguration(Configuration &config)
{
    for (int i = 0; i < config.processes; ++i)
        config.services.push_back(std::make_unique<BenchService>());
    // All at once: they create and seed the new database together.
    for (auto &service : config.services)
        service->startService(config.program, config.data->location(), config.options);
    QList<quint16> ports;
    for (auto &service : config.services) {
        if (!service->waitForPort()) {
            std::fprintf(stderr, "%s: a service did not start: %s\n", qPrintable(config.store),
                         qPrintable(service->errorText()));
            return false;
        }
        ports.append(service->port());
    }
    config.booking = std::make_unique<BenchBooking>(ports.first());
    return config.booking->prepare(config.data->bookableHalfDays(contestedHalfDays));
}

QList<quint16> portsOf(const Configuration &config)
{
    QList<quint16> ports;
    for (const auto &service : config.services)
        ports.append(service->port());
    return ports;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.contains(u"--bare-server"_s))
        return BenchService::runBareServer();
    const bool raw = args.contains(u"--raw-clients"_s);
    const qsizetype secondsAt = args.indexOf(u"--seconds"_s);
    const int seconds = secondsAt > 0 ? std::max(1, args.value(secondsAt + 1).toInt()) : 2;
    const qsizetype roundsAt = args.indexOf(u"--rounds"_s);
    const int rounds = roundsAt > 0 ? std::clamp(args.value(roundsAt + 1).toInt(), 1, 99) : 3;
    QStringList options;
    for (const QString &option : {u"--workers"_s, u"--reply-cache"_s})
        if (const qsizetype at = args.indexOf(option); at > 0)
            options << option << args.value(at + 1);
    const qsizetype beforeAt = args.indexOf(u"--before"_s);
    const QString before = beforeAt > 0 ? args.value(beforeAt + 1) : QString();
    const qsizetype clientsAt = args.indexOf(u"--clients"_s);
    QList<int> clientCounts{8, 16, 32, 64};
    if (clientsAt > 0) {
        clientCounts.clear();
        for (const QString &n : args.value(clientsAt + 1).split(u','))
            clientCounts.append(std::clamp(n.toInt(), 1, 512));
    }

    QTemporaryDir dir;
    const QString serviceProgram = QStringLiteral(RV_SERVICE_EXECUTABLE);
    std::vector<Configuration> configs;
    // Each store once for this build and, with --before, once for the earlier one beside it.
    const auto add = [&](const QString &store, int processes, auto makeData) {
        configs.push_back({store, processes, serviceProgram, options, makeData(u""_s), {}, {}});
        if (!before.isEmpty())
            configs.push_back(
                {store + u", before"_s, processes, before, {}, makeData(u"b"_s), {}, {}});
    };
    for (int processes : {1, 2})
        add(u"SQLite"_s, processes, [&](const QString &suffix) {
            return BenchStore::sqlite(
                dir.filePath(u"bench%1%2.sqlite"_s.arg(processes).arg(suffix)));
        });
    QString pgError = u"run the benchmark under pg_virtualenv"_s;
    if (qEnvironmentVariableIsSet("PGPORT") || qEnvironmentVariableIsSet("PGHOST")) {
        pgError.clear();
        for (int processes : {1, 2})
            add(u"PostgreSQL"_s, processes, [&](const QString &suffix) {
                return BenchStore::postgresql(u"rvbench%1%2"_s.arg(processes).arg(suffix),
                                              &pgError);
            });
    }
    // A PostgreSQL server that would not make a database leaves SQLite measured alone.
    std::erase_if(configs, [](const Configuration &config) { return !config.data; });
    for (Configuration &config : configs)
        if (!startConfiguration(config))
            return 1;
    BenchService bare;
    bare.startBare(QCoreApplication::applicationFilePath());
    if (!bare.waitForPort()) {
        std::fprintf(stderr, "the bare server did not start\n");
        return 1;
    }

    std::printf("rv-service over loopback, the median of %d rounds of %d s per row, %d cores,"
                " clients %s; PostgreSQL: %s\n\n",
                rounds, seconds, std::thread::hardware_concurrency(),
                raw ? "on raw sockets" : "through the application's network layer",
                pgError.isEmpty() ? "measured" : qPrintable(u"not measured ("_s + pgError + u')'));
    std::printf("| clients | workload | store | processes | tx/s | of bare | p50 ms | p99 ms |"
                " sold twice |\n|---|---|---|---|---|---|---|---|---|\n");
    bool sound = true;
    // The figures of the first number of clients, for the goals.
    std::map<std::tuple<QString, QString, int>, double> first;
    double bareFirst = 0;
    const QByteArray bareForm = "yhm=(null)&jym=B006&bwnr={}";
    for (int clients : clientCounts) {
        std::vector<Cell> cells;
        cells.emplace_back("bare HTTP", nullptr, QList<quint16>{bare.port()},
                           [&](auto &c, int, int, auto &l) { return timedPost(c, bareForm, l); });
        for (Configuration &config : configs)
            cells.emplace_back("B006", &config, portsOf(config),
                               [](auto &c, int n, int i, auto &l) {
                                   return timedPost(c, doctorPage(1 + (n + i) % 15), l);
                               });
        for (Configuration &config : configs)
            cells.emplace_back("C001+C005", &config, portsOf(config),
                               [&config](auto &c, int n, int, auto &l) {
                                   return config.booking->bookAndCancel(c, n, l);
                               });
        // Round after round over every row, so that a disturbance spreads over all of them.
        for (int round = 0; round < rounds; ++round)
            for (Cell &cell : cells)
                measure(cell, clients, seconds, raw);
        const double bareRate = cells.front().rate();
        for (Cell &cell : cells) {
            QString soldTwice = u"-"_s;
            if (cell.config && QByteArray(cell.workload) != "B006") {
                Configuration &config = *cell.config;
                const int twice = config.booking->soldTwice() + config.data->slotsSoldTwice();
                const bool addsUp =
                    config.data->placesAddUp(config.booking->halfDays(), placesPerHalfDay);
                sound = sound && twice == 0 && addsUp;
                soldTwice = QString::number(twice) + (addsUp ? QString() : u", places off"_s);
            }
            printRow(clients, cell, bareRate, soldTwice);
            if (clients != clientCounts.first())
                continue;
            if (!cell.config)
                bareFirst = bareRate;
            else
                first[{QString::fromLatin1(cell.workload), cell.config->store,
                       cell.config->processes}] = cell.rate();
        }
    }
    const auto figure = [&](const QString &workload, const QString &store, int processes) {
        const auto found = first.find({workload, store, processes});
        return found == first.end() ? 0.0 : found->second;
    };
    std::printf("\nWith %d clients: B006 on SQLite, one process, at %.2f of the bare HTTP reply"
                " (goal 0.45)\n",
                clientCounts.first(), figure(u"B006"_s, u"SQLite"_s, 1) / std::max(1.0, bareFirst));
    for (const QString &workload : {u"B006"_s, u"C001+C005"_s})
        if (figure(workload, u"PostgreSQL"_s, 2) > 0)
            std::printf("With %d clients: %s on PostgreSQL, two processes, at %.2f of SQLite with"
                        " one (goal 0.8)\n",
                        clientCounts.first(), qPrintable(workload),
                        figure(workload, u"PostgreSQL"_s, 2) /
                            std::max(1.0, figure(workload, u"SQLite"_s, 1)));
    std::printf("places sold twice or not adding up: %s\n", sound ? "none" : "YES (a fault)");
    return sound ? 0 : 1;
}
