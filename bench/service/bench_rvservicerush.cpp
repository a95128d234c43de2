// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// A release-time rush over loopback: a week of several doctors' places goes on sale at one
// moment while thousands of patients, each on a kept-alive connection of its own and logged
// in with an account of its own, wait on their doctor's schedule; at the moment every one
// presses "确认" for the place it chose, and on a refusal looks again and tries another place,
// at most three presses. Measured for each configuration in one run, one after the other
// with the same sizes: one rv-service process on SQLite, one on PostgreSQL, and the stack
// (scripts/cluster.sh: HAProxy in front of several processes, PgBouncer, PostgreSQL). After
// each rush the store itself is read: what was sold, to whom, and whether any slot was sold
// twice.
//
//   bench_rvservicerush [--configs sqlite,postgresql,stack] [--clients 10000] [--places 3000]
//                       [--workers N] [--seed S] [--stack-services N]
//
// PostgreSQL alone runs on the server libpq's environment names (pg_virtualenv), or else on
// one the cluster script starts; the stack needs the cluster script (RV_CLUSTER_SCRIPT or
// scripts/cluster.sh), which reads its own settings from the environment
// (RV_CLUSTER_POOL_MODE=session, RV_CLUSTER_KEEP_ALIVE, RV_CLUSTER_SERVICE_OPTIONS). The
// services inherit the environment (rv-service picks Qt's own poll dispatcher itself, which
// holds thousands of connections far better than GLib's). RV_RUSH_KEEP_LOGS=DIR keeps the
// stack's logs there.
#include "benchrushclients.h"
#include "benchrushstage.h"

#include <QCoreApplication>
#include <QFile>
#include <QSet>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <map>

using namespace Qt::StringLiterals;

namespace
{
constexpr int setUpWindow = 64;
constexpr int setUpTimeoutMs = 60'000;
constexpr int rushDeadlineMs = 20'000;
constexpr qint64 goalUs = 3'000'000;

// Room for every client's socket here, and, inherited, for every accepted one in the
// services this process starts.
void raiseDescriptorLimit()
{
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    rlimit wanted{std::max<rlim_t>(limit.rlim_max, 65536), std::max<rlim_t>(limit.rlim_max, 65536)};
    if (setrlimit(RLIMIT_NOFILE, &wanted) != 0) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

QString loadAverage()
{
    QFile file(u"/proc/loadavg"_s);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).section(u' ', 0, 2)
                                          : u"?"_s;
}

// CPU seconds of each program among the processes, by the program's name.
std::map<QString, double> cpuSeconds(const QList<qint64> &pids)
{
    std::map<QString, double> byProgram;
    for (qint64 pid : pids) {
        QFile file(u"/proc/%1/stat"_s.arg(pid));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray stat = file.readAll();
        const QString program = QString::fromLatin1(
            stat.mid(stat.indexOf('(') + 1, stat.indexOf(')') - stat.indexOf('(') - 1));
        const QList<QByteArray> fields = stat.split(')').value(1).split(' ');
        // utime and stime: the 14th and 15th fields, the 12th and 13th after the name
        byProgram[program] += (fields.value(12).toDouble() + fields.value(13).toDouble()) /
                              static_cast<double>(sysconf(_SC_CLK_TCK));
    }
    return byProgram;
}

double ownCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double seconds(qint64 us)
{
    return static_cast<double>(us) / 1e6;
}

// One column of the table.
struct Column {
    QString name;
    QString failure; // why it was not measured
    BenchRushClients::Figures figures;
    BenchRushStore::Sold sold;
    int places = 0;
    int clients = 0;
    int halfDays = 0;
    int doctors = 0;
    std::map<QString, double> serviceCpu; // by program
    double clientCpu = 0;
    QString load;

    qint64 percentile(int percent) const
    {
        QList<qint64> sorted = figures.answeredUs;
        std::sort(sorted.begin(), sorted.end());
        return sorted.isEmpty() ? -1
                                : sorted.at(std::min<qsizetype>(sorted.size() - 1,
                                                                sorted.size() * percent / 100));
    }
    // When the given share of the places had been sold, as the buyers were told.
    qint64 soldUs(int percent) const
    {
        QList<qint64> sorted = figures.bookedUs;
        std::sort(sorted.begin(), sorted.end());
        const qsizetype needed = (static_cast<qsizetype>(places) * percent + 99) / 100;
        return sorted.size() >= needed && needed > 0 ? sorted.at(needed - 1) : -1;
    }
    qint64 soldOutUs() const { return soldUs(100); }
    int peakPerSecond() const
    {
        QHash<qint64, int> windows;
        int peak = 0;
        for (qint64 us : figures.bookedUs)
            peak = std::max(peak, ++windows[us / 100'000]);
        return peak * 10;
    }
    int answeredWithinGoal() const
    {
        return static_cast<int>(std::count_if(figures.answeredUs.begin(), figures.answeredUs.end(),
                                              [](qint64 us) { return us <= goalUs; }));
    }
};

void measure(Column &column, BenchRushStage &stage, int clients, int places, quint32 seed)
{
    column.name = stage.name();
    column.clients = clients;
    column.places = places;
    QString error;
    if (!stage.start(clients, &error)) {
        column.failure = error;
        return;
    }
    BenchRushStore store(stage.location());
    if (!store.prepare(places, clients, &error)) {
        column.failure = error;
        return;
    }
    column.halfDays = static_cast<int>(store.halfDays().size());
    QSet<QString> doctors;
    for (const BenchRushStore::HalfDay &half : store.halfDays())
        doctors.insert(half.ysdm);
    column.doctors = static_cast<int>(doctors.size());
    BenchRushClients rush(stage.port(), store.accounts(), store.halfDays(), seed);
    rush.setUp(setUpWindow, setUpTimeoutMs);
    column.load = loadAverage();
    const auto serviceBefore = cpuSeconds(stage.pids());
    const double clientBefore = ownCpuSeconds();
    rush.rush([&store] { return store.release(); }, rushDeadlineMs);
    column.serviceCpu = cpuSeconds(stage.pids());
    for (const auto &[program, before] : serviceBefore)
        column.serviceCpu[program] -= before;
    column.clientCpu = ownCpuSeconds() - clientBefore;
    column.figures = rush.figures();
    column.sold = store.sold();
}

QString timeText(qint64 us)
{
    return us < 0 ? u"-"_s : QString::number(seconds(us), 'f', 2) + u" s"_s;
}

void printTable(const QList<Column> &columns)
{
    const auto row = [&](const char *label, const std::function<QString(const Column &)> &cell) {
        std::printf("| %s |", label);
        for (const Column &column : columns)
            std::printf(" %s |", qPrintable(column.failure.isEmpty() ? cell(column) : u"-"_s));
        std::printf("\n");
    };
    std::printf("| |");
    for (const Column &column : columns)
        std::printf(" %s |", qPrintable(column.name));
    std::printf("\n|---|");
    for (qsizetype i = 0; i < columns.size(); ++i)
        std::printf("---|");
    std::printf("\n");
    const auto number = [](int n) { return QString::number(n); };
    row("clients ready at the moment", [&](auto &c) -> QString {
        return number(c.figures.ready) + u" of "_s + number(c.clients);
    });
    row("set-up before the moment",
        [](auto &c) -> QString { return timeText(c.figures.setUpMs * 1000); });
    row("places released", [](auto &c) -> QString {
        return u"%1 in %2 half-days of %3 doctors"_s.arg(c.places).arg(c.halfDays).arg(c.doctors);
    });
    row("time to sell out", [](auto &c) -> QString {
        return c.soldOutUs() < 0 ? u"not sold out (%1 sold)"_s.arg(c.sold.bookings)
                                 : timeText(c.soldOutUs());
    });
    row("half / 90 % of the places sold", [](auto &c) -> QString {
        return timeText(c.soldUs(50)) + u" / "_s + timeText(c.soldUs(90));
    });
    row("bookings/s, peak 100 ms", [&](auto &c) -> QString { return number(c.peakPerSecond()); });
    row("bookings/s, to sell-out", [](auto &c) -> QString {
        return c.soldOutUs() <= 0 ? u"-"_s
                                  : QString::number(c.places / seconds(c.soldOutUs()), 'f', 0);
    });
    row("answer p50 / p99 / max", [](auto &c) -> QString {
        return QStringList{timeText(c.percentile(50)), timeText(c.percentile(99)),
                           timeText(c.percentile(100))}
            .join(u" / "_s);
    });
    row("answered within 3 s", [&](auto &c) -> QString { return number(c.answeredWithinGoal()); });
    row("booked / gone / error / none", [&](auto &c) -> QString {
        return u"%1 / %2 / %3 / %4"_s.arg(c.figures.booked)
            .arg(c.figures.gone)
            .arg(c.figures.error)
            .arg(c.figures.none);
    });
    row("resets / 503 / connect failures", [&](auto &c) -> QString {
        return u"%1 / %2 / %3"_s.arg(c.figures.resets)
            .arg(c.figures.refused503)
            .arg(c.figures.connectFailures);
    });
    row("requests (presses) from the moment, per s", [](auto &c) -> QString {
        const qint64 end = c.percentile(100);
        return u"%1 (%2), %3"_s.arg(c.figures.requests)
            .arg(c.figures.presses)
            .arg(end > 0 ? QString::number(c.figures.requests / seconds(end), 'f', 0) : u"-"_s);
    });
    row("kept-alive connections reopened",
        [&](auto &c) -> QString { return number(c.figures.reconnects); });
    row("sold twice (store)", [&](auto &c) -> QString { return number(c.sold.soldTwice); });
    row("bookings in the store / answered", [&](auto &c) -> QString {
        return number(c.sold.bookings) + u" / "_s + number(c.figures.booked);
    });
    row("clients with 0 / 1 / 2+ bookings", [&](auto &c) -> QString {
        int more = 0;
        for (qsizetype n = 2; n < c.sold.perClient.size(); ++n)
            more += c.sold.perClient.at(n);
        return u"%1 / %2 / %3 (max %4)"_s.arg(c.sold.perClient.value(0))
            .arg(c.sold.perClient.value(1))
            .arg(more)
            .arg(std::max<qsizetype>(0, c.sold.perClient.size() - 1));
    });
    row("CPU s during the rush", [](auto &c) -> QString {
        QStringList parts;
        for (const auto &[program, used] : c.serviceCpu)
            parts.append(u"%1 %2"_s.arg(program).arg(used, 0, 'f', 1));
        return parts.join(u", "_s) + u"; clients %1"_s.arg(c.clientCpu, 0, 'f', 1);
    });
    row("load average at the moment", [](auto &c) -> QString { return c.load; });
    for (const Column &column : columns) {
        if (!column.failure.isEmpty())
            std::printf("\n%s: not measured: %s", qPrintable(column.name),
                        qPrintable(column.failure));
        for (const QString &sample : column.figures.errorSamples)
            std::printf("\n%s: error answer: %s", qPrintable(column.name), qPrintable(sample));
    }
    std::printf("\n");
}

// The goals of a rush on this machine; true when every measured column meets them.
bool judge(const QList<Column> &columns)
{
    bool met = true;
    const Column *onePostgreSQL = nullptr;
    for (const Column &c : columns) {
        if (!c.failure.isEmpty())
            continue;
        const bool refusedNone =
            c.figures.resets + c.figures.refused503 + c.figures.connectFailures == 0;
        const bool allAnswered = c.answeredWithinGoal() == c.clients;
        const bool soldOut = c.soldOutUs() >= 0 && c.soldOutUs() <= goalUs;
        // Every booking told is in the store; the store may hold more only for clients that
        // had no answer.
        const bool sound = c.sold.soldTwice == 0 && c.sold.bookings >= c.figures.booked &&
                           c.sold.bookings <= c.figures.booked + c.figures.none &&
                           c.sold.bookings + c.sold.left == c.places;
        std::printf("%s: no connection refused %s, all answered within 3 s %s, no error %s,"
                    " sold out within 3 s %s, store sound %s\n",
                    qPrintable(c.name), refusedNone ? "yes" : "NO", allAnswered ? "yes" : "NO",
                    c.figures.error == 0 ? "yes" : "NO", soldOut ? "yes" : "NO",
                    sound ? "yes" : "NO (a fault)");
        met = met && refusedNone && allAnswered && c.figures.error == 0 && soldOut && sound;
        if (c.name.startsWith(u"PostgreSQL"_s))
            onePostgreSQL = &c;
        if (c.name.startsWith(u"stack"_s) && onePostgreSQL)
            std::printf("stack's bookings/s at %.2f of one process on PostgreSQL at the peak,"
                        " %.2f to the sell-out (goal 0.8)\n",
                        c.peakPerSecond() / std::max(1.0, 1.0 * onePostgreSQL->peakPerSecond()),
                        c.soldOutUs() > 0 && onePostgreSQL->soldOutUs() > 0
                            ? 1.0 * onePostgreSQL->soldOutUs() / c.soldOutUs()
                            : 0.0);
    }
    return met;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    raiseDescriptorLimit();
    const QStringList args = QCoreApplication::arguments();
    const auto option = [&args](const QString &name, const QString &fallback) {
        const qsizetype at = args.indexOf(name);
        return at > 0 ? args.value(at + 1) : fallback;
    };
    const int clients = std::clamp(option(u"--clients"_s, u"10000"_s).toInt(), 1, 30'000);
    const int places = std::clamp(option(u"--places"_s, u"3000"_s).toInt(), 1, 20'000);
    const quint32 seed = option(u"--seed"_s, u"7"_s).toUInt();
    const QStringList wanted = option(u"--configs"_s, u"sqlite,postgresql,stack"_s).split(u',');
    QStringList serviceOptions;
    if (args.contains(u"--workers"_s))
        serviceOptions << u"--workers"_s << option(u"--workers"_s, u"0"_s);
    if (args.contains(u"--stack-services"_s)) // read by the cluster script
        qputenv("RV_CLUSTER_SERVICES", option(u"--stack-services"_s, u"4"_s).toLatin1());

    std::printf("rush over loopback: %d clients, %d places, %d cores, load average %s\n\n", clients,
                places, static_cast<int>(sysconf(_SC_NPROCESSORS_ONLN)), qPrintable(loadAverage()));
    std::fflush(stdout);
    QList<Column> columns;
    for (const QString &name : wanted) {
        auto stage = BenchRushStage::make(name.trimmed(), serviceOptions);
        if (!stage) {
            std::fprintf(stderr, "unknown configuration %s\n", qPrintable(name));
            return 2;
        }
        columns.append(Column{});
        measure(columns.last(), *stage, clients, places, seed);
        std::fprintf(stderr, "%s measured\n", qPrintable(columns.last().name));
    }
    printTable(columns);
    std::printf("\n");
    return judge(columns) ? 0 : 1;
}
