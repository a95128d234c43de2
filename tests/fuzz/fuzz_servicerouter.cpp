// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
//
// libFuzzer harness for the service's request handling. The input is a whole HTTP request
// stream as a client would send it; it goes through the HTTP reader whole and in pieces whose
// sizes the first byte chooses, which must read the same requests or the same refusal, and
// every request read is answered by the service's router over an in-memory demo database. A second
// pass posts the raw input as the form body, so that arbitrary bodies reach the router without any
// HTTP framing. Besides memory errors and undefined behaviour it stops on any reply that breaks the
// service's promises: every answer is an envelope whose head says success or refusal.
#include "service/rvserviceaccounts.h"
#include "service/rvservicedatabase.h"
#include "service/rvservicehttpparser.h"
#include "service/rvservicerouter.h"
#include "service/rvserviceseeder.h"

#include <QCoreApplication>
#include <QDate>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace Qt::StringLiterals;

namespace
{
void require(bool condition)
{
    if (!condition)
        std::abort();
}

// The seed corpus's 'C' exchanges are enciphered under this login key of the user "fuzzer",
// so that mutations of them reach the handlers of a logged-in user.
const QString fuzzerKey = u"5a17c3e9b2d4f60819e7a3c5d2b4f6a8c0e1d3b5a7f90246"_s;

void addFuzzer(RVServiceDatabase &database)
{
    require(RVServiceAccounts(database)
                .registerUser({{u"yhm"_s, u"fuzzer"_s},
                               {u"mm"_s, u"secret1"_s},
                               {u"xm"_s, u"测试"_s},
                               {u"sfzhm"_s, u"330102199001011234"_s},
                               {u"sjhm"_s, u"13900001111"_s}})
                .ok);
    auto session = database.session();
    require(RVServiceDatabase::exec(session.db(), u"UPDATE users SET gzmy = ? WHERE yhm = ?"_s,
                                    {fuzzerKey, u"fuzzer"_s})
                .has_value());
}

struct Service {
    std::unique_ptr<QCoreApplication> app;
    std::unique_ptr<RVServiceDatabase> database;
    std::unique_ptr<RVServiceRouter> router;
};

// Made once and never destroyed: the process ends inside libFuzzer, after the thread-local
// state the database's connections are registered in is already gone.
Service &service()
{
    static Service *s = [] {
        static int argc = 1;
        static char name[] = "fuzz_servicerouter";
        static char *argv[] = {name, nullptr};
        auto *made = new Service;
        made->app = std::make_unique<QCoreApplication>(argc, argv);
        made->database = std::make_unique<RVServiceDatabase>(u":memory:"_s);
        QString error;
        require(made->database->open(&error));
        require(RVServiceSeeder(*made->database).seed(QDate::currentDate()));
        addFuzzer(*made->database);
        made->router = std::make_unique<RVServiceRouter>(*made->database);
        return made;
    }();
    return *s;
}

struct Parse {
    QList<RVServiceHttpRequest> requests;
    int errorStatus = 0; // of the refusal that ended the stream, if any
    bool operator==(const Parse &) const = default;
};

Parse parse(const QByteArray &input, qsizetype piece, const RVServiceHttpLimits &limits)
{
    Parse parse;
    auto budget = std::make_shared<RVServiceHttpBodyBudget>(limits.maxBodyBytesInProgress);
    RVServiceHttpParser parser(limits, budget);
    for (qsizetype at = 0; at < input.size() && parse.errorStatus == 0; at += piece) {
        parser.append(QByteArrayView(input).sliced(at, std::min(piece, input.size() - at)));
        for (;;) {
            const auto status = parser.next();
            if (status == RVServiceHttpParser::Status::Ready) {
                parse.requests.append(parser.take());
                require(parse.requests.last().body.size() <= limits.maxBodyBytes);
                require(budget->inUse() == 0); // the body left with its request
                continue;
            }
            if (status == RVServiceHttpParser::Status::Failed)
                parse.errorStatus = parser.errorStatus();
            break;
        }
        // Never more held than one head and one body, and memory follows the bytes given.
        require(parser.buffered() <= limits.maxHeadBytes + limits.maxBodyBytes + piece);
        require(parser.held() <= 4 * (at + piece) + 4096);
    }
    require(parse.errorStatus == 0 || (parse.errorStatus >= 400 && parse.errorStatus < 600));
    parser.abandon();
    require(budget->inUse() == 0); // every body's share given back
    return parse;
}

void answer(const QByteArray &body)
{
    const RVServiceRouter::Exchange reply = service().router->handle(body, u"http://h:1"_s);
    require(reply.status == 200 || reply.status == 400 || reply.status == 413);
    require(!reply.body.isEmpty());
    if (reply.body.startsWith('{')) { // a plain reply: its head must say what happened
        const QJsonObject head =
            QJsonDocument::fromJson(reply.body).object().value(u"head"_s).toObject();
        const QString flag = head.value(u"succflag"_s).toString();
        require(flag == u"0"_s || flag == u"-1"_s);
        require(reply.ok == (flag == u"0"_s));
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    service();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray input(reinterpret_cast<const char *>(data + 1),
                           static_cast<qsizetype>(size - 1));
    const qsizetype piece = 1 + data[0] % 64;

    RVServiceHttpLimits limits;
    limits.maxHeadBytes = 4096;
    limits.maxBodyBytes = 64 * 1024;
    const Parse read = parse(input, piece, limits);
    // How the bytes arrive must not change what is read.
    require(read == parse(input, std::max<qsizetype>(1, input.size()), limits));
    for (const RVServiceHttpRequest &request : read.requests)
        if (request.method == "POST")
            answer(request.body);
    answer(input);
    return 0;
}
