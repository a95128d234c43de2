// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// Throughput of rv-service over loopback with 8 concurrent clients, each making blocking
// exchanges through the application's own client library: doctor-list pages ("B006"),
// bookings ("C001", each followed by its cancel "C005" to keep places), and beside them the
// same number of bare HTTP exchanges with a server of the same framework that answers a fixed
// reply. Checks that no place is ever sold twice under that load.
//
// Usage: bench_rvservice [requests per client, default 400]
#include "protocols/rvcipher.h"
#include "protocols/rvdoctorlistrequest.h"
#include "protocols/rvhttpexchange.h"
#include "protocols/rvloginvalues.h"
#include "protocols/rvprotocol.h"
#include "protocols/rvreservationinfo.h"
#include "protocols/rvreservationlistinforeply.h"
#include "protocols/rvuserregister.h"
#include "service/rvservicedatabase.h"
#include "service/rvservicerouter.h"
#include "service/rvserviceseeder.h"
#include "service/rvservicethread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHttpServer>
#include <QHttpServerResponse>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;

namespace
{
constexpr int clients = 8;

QString text(const QJsonValue &v)
{
    return RVBaseInfo::text(v);
}

// A server of the same framework and thread model that answers every POST with one fixed reply.
class BareServer final : public QThread
{
public:
    quint16 port = 0;
    QSemaphore ready;
    ~BareServer() override
    {
        quit();
        wait();
    }

protected:
    void run() override
    {
        QHttpServer server;
        server.route(u"/hrzp2/ComService"_s, [] {
            return QHttpServerResponse(
                "application/json",
                QByteArray(R"({"head":{"succflag":"0","retmsg":"ok"},"body":{}})"));
        });
        port = server.listen(QHostAddress::LocalHost, 0);
        ready.release();
        exec();
    }
};

// Runs work(client, i) for i in [0, perClient) on each of the clients' threads at once;
// returns the exchanges per second over all of them.
double throughput(int perClient, const std::function<int(int, int)> &work)
{
    std::atomic<int> exchanges{0};
    QSemaphore go;
    QList<QThread *> threads;
    for (int c = 0; c < clients; ++c) {
        threads.append(QThread::create([&, c] {
            go.acquire();
            for (int i = 0; i < perClient; ++i)
                exchanges += work(c, i);
        }));
        threads.last()->start();
    }
    QElapsedTimer clock;
    clock.start();
    go.release(clients);
    for (QThread *t : threads) {
        t->wait();
        delete t;
    }
    return exchanges.load() * 1000.0 / std::max<qint64>(1, clock.elapsed());
}

// A schedule from tomorrow on that takes bookings, with all eight places free.
RVDoctorScheduleInfo bookableSchedule(int skip)
{
    RVProtocol client;
    for (const RVDoctorInfo &d :
         client.doctorList({}, {}, {}, {}, 1, 100).value_or(QList<RVDoctorInfo>())) {
        const auto days =
            RVProtocol().doctorScheduleForHospital({}, text(d.hospid()), text(d.ysdm()));
        for (const auto &day : days.value_or(RVDoctorScheduleReply::Schedules()))
            for (const RVDoctorScheduleInfo &s : day)
                if (text(s.jzrq()) > QDate::currentDate().toString(u"yyyy-MM-dd"_s) &&
                    RVBaseInfo::intValue(s.jlzt()) == 0 && RVBaseInfo::intValue(s.kyrs()) == 8 &&
                    skip-- == 0)
                    return s;
    }
    return {};
}

// The service's own cost of a "B006" page: the router alone, one thread, no HTTP.
double routerOnlyRate(const QString &path, int count)
{
    RVServiceDatabase database(path);
    QString error;
    if (!database.open(&error) || !RVServiceSeeder(database).seed(QDate::currentDate()))
        return 0;
    RVServiceRouter router(database);
    QElapsedTimer clock;
    clock.start();
    int ok = 0;
    for (int i = 0; i < count; ++i) {
        auto request = RVBaseInfo::fromDictionary<RVDoctorListRequest>(
            std::nullopt, RVProtocol::headBuild(u"B006"_s));
        request.setDqym(i % 15 + 1);
        request.setXssl(8);
        ok += router
                  .handle("yhm=(null)&jym=B006&bwnr=" + request.toJson().toUtf8(),
                          u"http://127.0.0.1:8080"_s)
                  .ok;
    }
    return ok * 1000.0 / std::max<qint64>(1, clock.elapsed());
}

int placesLeft(const RVDoctorScheduleInfo &s)
{
    const auto days =
        RVProtocol().doctorScheduleForHospital(text(s.pbid()), text(s.hospid()), text(s.ysdm()));
    const auto day = days.value_or(RVDoctorScheduleReply::Schedules()).value(text(s.jzrq()));
    return day.isEmpty() ? -1 : static_cast<int>(RVBaseInfo::intValue(day.first().kyrs()));
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const int perClient = argc > 1 ? std::max(10, QByteArray(argv[1]).toInt()) : 400;

    QTemporaryDir dir;
    RVServiceOptions options = RVServiceThread::ephemeralOptions();
    options.databasePath = dir.filePath(u"bench.sqlite"_s); // a WAL file, as in real use
    RVServiceThread service(options);
    QString error;
    if (!service.startService(&error)) {
        std::fprintf(stderr, "cannot start the service: %s\n", qPrintable(error));
        return 1;
    }
    RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, service.port());
    BareServer bare;
    bare.start();
    bare.ready.acquire();

    // Bare HTTP: the same client transport, a fixed reply.
    QUrl bareUrl(u"http://127.0.0.1/hrzp2/ComService"_s);
    bareUrl.setPort(bare.port);
    const QByteArray bareForm = "yhm=(null)&jym=B006&bwnr={}";
    const double bareRate = throughput(perClient, [&](int, int) {
        return RVHttpExchange::postBlocking(bareUrl, bareForm).statusCode == 200 ? 1 : 0;
    });

    // B006 pages through the real client.
    const double b006Rate = throughput(perClient, [](int, int i) {
        RVProtocol client;
        const auto page = client.doctorList({}, {}, {}, {}, i % 15 + 1, 8);
        return page && client.lastRepuestStats() && !page->isEmpty() ? 1 : 0;
    });

    // C001 + C005 cycles by one user over two contested half-days of eight places each.
    RVUserRegister form;
    form.setYhm(u"bench-user"_s);
    form.setMm(u"bench-pass"_s);
    form.setXm(u"压测用户"_s);
    form.setSfzhm(u"330102199001011234"_s);
    form.setSjhm(u"13900009999"_s);
    const auto user = RVProtocol().userRegister(form.body_dict());
    const QList<RVDoctorScheduleInfo> contested{bookableSchedule(0), bookableSchedule(1)};
    if (!user || !user->state() || text(contested.at(1).pbid()).isEmpty()) {
        std::fprintf(stderr, "cannot set up the booking run\n");
        return 1;
    }
    std::atomic<int> held[2][8] = {};
    std::atomic<int> booked{0}, refused{0}, doubleSales{0}, failedCancels{0};
    const double c001Rate = throughput(perClient / 4, [&](int c, int i) {
        const int which = (c + i) % 2;
        const int slot = static_cast<int>(QRandomGenerator::global()->bounded(8));
        const RVDoctorScheduleInfo &s = contested.at(which);
        auto request = RVBaseInfo::fromDictionary<RVReservationInfo>(
            std::nullopt, RVProtocol::headBuild(u"C001"_s));
        request.setYzhm(RVProtocol::reservationCode());
        request.setYhid(user->yhid());
        request.setPbid(s.pbid());
        request.setFzxh(QString::number(slot + 1));
        RVProtocol client;
        const QString reply =
            client.post(RVLoginValues::username(), u"C001"_s, request.toJson(), false);
        const auto answer = RVBaseInfo::fromString<RVReservationListInfoReply>(reply);
        if (!answer || !answer->state() || answer->reservations().isEmpty()) {
            ++refused;
            return 1;
        }
        ++booked;
        if (held[which][slot].exchange(1) != 0) // someone else still holds this slot
            ++doubleSales;
        const QString yylsh = text(answer->reservations().first().yylsh());
        held[which][slot] = 0; // released before the cancel: a later sale is then legitimate
        if (!RVProtocol().removeReserationWithUserId(text(user->yhid()), yylsh))
            ++failedCancels;
        return 2;
    });
    const int left0 = placesLeft(contested.at(0));
    const int left1 = placesLeft(contested.at(1));

    std::printf("rv-service throughput over loopback, %d concurrent clients, blocking exchanges\n",
                clients);
    std::printf("  bare HTTP, fixed reply : %8.0f requests/s (%d requests)\n", bareRate,
                clients * perClient);
    std::printf("  B006 doctor-list pages : %8.0f transactions/s (%d requests), %.2f of bare\n",
                b006Rate, clients * perClient, b006Rate / bareRate);
    std::printf("  C001 book + C005 cancel: %8.0f transactions/s, %.2f of bare; %d booked,"
                " %d refused as taken or full\n",
                c001Rate, c001Rate / bareRate, booked.load(), refused.load());
    std::printf("  places sold twice: %d; cancels failed: %d; places left after the run: %d and %d"
                " of 8\n",
                doubleSales.load(), failedCancels.load(), left0, left1);
    std::printf("  B006 in the router alone, one thread, no HTTP: %.0f transactions/s\n",
                routerOnlyRate(dir.filePath(u"router.sqlite"_s), clients * perClient));
    std::printf("  goal: at least 1000 B006/s -> %s\n", b006Rate >= 1000 ? "met" : "NOT met");
    const bool sound = doubleSales == 0 && failedCancels == 0 && left0 == 8 && left1 == 8;
    return sound ? 0 : 1;
}
