// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "fakeservice.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvcipher.h"
#include "protocols/rvcurlnetworklayer.h"
#include "protocols/rvhttpexchange.h"
#include "protocols/rvloginrenewal.h"
#include "protocols/rvloginstate.h"
#include "protocols/rvloginvalues.h"
#include "protocols/rvnetworklayer.h"
#include "protocols/rvprotocol.h"
#include "protocols/rvreservationinfo.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTest>

#include <thread>

using namespace Qt::StringLiterals;
Q_DECLARE_METATYPE(RVExchangeOutcome::Kind)

namespace
{

const QString userKey = u"00112233445566778899aabbccddeeff0011223344556677"_s;

struct Form {
    QString yhm;
    QString jym;
    QString bwnr;
};

Form parseForm(const QByteArray &body)
{
    const QString text = QString::fromUtf8(body);
    const qsizetype at = text.indexOf(u"&bwnr="_s);
    const QStringList first = text.left(at).split(u'&');
    return {first.value(0).mid(4), first.value(1).mid(4), text.mid(at + 6)};
}

QByteArray okReply(const QString &message = u"成功"_s, const QJsonObject &body = {})
{
    const QJsonObject head{{u"succflag"_s, u"0"_s}, {u"retmsg"_s, message}};
    return QJsonDocument(QJsonObject{{u"head"_s, head}, {u"body"_s, body}}).toJson();
}

QByteArray refusal(const QString &message)
{
    const QJsonObject head{{u"succflag"_s, u"-1"_s}, {u"retmsg"_s, message}};
    return QJsonDocument(QJsonObject{{u"head"_s, head}}).toJson();
}

QByteArray enciphered(const QByteArray &json, const QString &key)
{
    return RVCipher::encipherToHex(QString::fromUtf8(json), key)->toLatin1();
}

using Ending = FakeService::Ending;
const QString connectionLost = u"与服务器的连接中断。"_s;

// A reply with one list item, plain for a query and enciphered for a user's transaction.
QByteArray listReply(const QString &code)
{
    const QByteArray json = okReply(
        u"成功"_s,
        {{u"list"_s, QJsonArray{QJsonObject{{u"hospid"_s, u"7"_s}, {u"yylsh"_s, u"88"_s}}}}});
    return code.startsWith(u'B') ? json : enciphered(json, userKey);
}

QString codeOf(const FakeService::Request &request)
{
    return parseForm(request.body).jym;
}

int copiesOf(const FakeService &service, const QString &code)
{
    int copies = 0;
    for (const FakeService::Request &request : service.requests())
        copies += codeOf(request) == code ? 1 : 0;
    return copies;
}

// Runs the synchronous operation of a code on a fresh client and returns the client.
std::shared_ptr<RVProtocol> runSync(const QString &code, RVNetworkLayer *layer = nullptr)
{
    auto client = RVProtocol::create();
    client->setNetworkLayer(layer);
    if (code == u"B001") {
        client->hospitalList(QString());
    } else if (code == u"B005") {
        client->diseaseList();
    } else if (code == u"A002") {
        client->login(u"zhang"_s, u"secret"_s);
    } else if (code == u"C001") {
        RVReservationInfo booking;
        booking.setPbid(u"5"_s);
        client->reseration(booking);
    } else if (code == u"C002") {
        client->reserationHistoryListWithTime({}, u"1"_s, QString());
    } else if (code == u"C005") {
        client->removeReserationWithUserId(u"1"_s, u"2"_s);
    } else if (code == u"C006") {
        client->userPasswordModificationWithUserid(u"1"_s, u"old"_s, u"new"_s);
    }
    return client;
}

// Stands in for the network: every transfer gets the scripted response, body and ending at
// once, without a socket.
class ScriptedLayer final : public RVNetworkLayer
{
public:
    quint64 start(const Request &request, std::shared_ptr<Sink> sink) override
    {
        requests << request;
        if (status > 0)
            sink->response(status, u"{}"_s);
        if (!body.isEmpty())
            sink->data(body);
        sink->end(failure);
        return quint64(requests.size());
    }
    void cancel(quint64) override {}

    int status = 200;
    QByteArray body;
    Failure failure;
    QList<Request> requests;
};

QStringList capturedLog;
void captureLog(QtMsgType, const QMessageLogContext &, const QString &message)
{
    capturedLog << message;
}

class Observer final : public RVAsyncObserver
{
public:
    void httpAsyncSuccess(const platform::Notification &n) override
    {
        ++successes;
        lastSender = RVProtocol::fromNotification(n);
        lastStats = lastSender->lastRepuestStats();
    }
    void httpAsyncFailure(const platform::Notification &n) override
    {
        ++failures;
        lastSender = RVProtocol::fromNotification(n);
    }
    int successes = 0;
    int failures = 0;
    bool lastStats = false;
    RVProtocol *lastSender = nullptr;
};

} // namespace

class TestRVProtocol : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeService> serve(FakeService::Handler handler)
    {
        auto service = std::make_unique<FakeService>(std::move(handler));
        RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, service->start());
        return service;
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        RVLoginValues::clear();
        RVHttpExchange::setTimeoutMsForTests(30000);
    }

    void headCarriesLocalDateAndTime()
    {
        const QDateTime before = QDateTime::currentDateTime();
        const QJsonObject head = RVProtocol::headBuild(u"B001"_s);
        const QDateTime after = QDateTime::currentDateTime();
        QCOMPARE(head.size(), 3);
        QCOMPARE(head.value(u"trcode"_s).toString(), u"B001"_s);
        const QDateTime stamped = QDateTime::fromString(head.value(u"trdate"_s).toString() +
                                                            head.value(u"trtime"_s).toString(),
                                                        u"yyyyMMddHHmmss"_s);
        QVERIFY(stamped.isValid());
        QVERIFY(stamped >= before.addMSecs(-before.time().msec()) && stamped <= after);
    }

    void plainQueryForm()
    {
        auto service = serve([](const FakeService::Request &) {
            return FakeService::Response{200, okReply()};
        });
        RVProtocol client;
        client.diseaseList();
        const FakeService::Request request = service->lastRequest();
        QCOMPARE(request.method, QByteArray("POST"));
        QCOMPARE(request.path, QByteArray("/hrzp2/ComService"));
        QVERIFY(
            request.headers.toLower().contains("content-type: application/x-www-form-urlencoded"));
        const Form form = parseForm(request.body);
        QCOMPARE(form.yhm, u"(null)"_s);
        QCOMPARE(form.jym, u"B005"_s);
        const QJsonObject envelope = QJsonDocument::fromJson(form.bwnr.toUtf8()).object();
        QVERIFY(envelope.value(u"body"_s).isObject());
        QVERIFY(envelope.value(u"body"_s).toObject().isEmpty());
        QCOMPARE(client.lastRepuestStats(), true);
        QCOMPARE(client.lastErrorMsg(), u"成功"_s);
    }

    void rawUtf8AndSeparatorsInBody()
    {
        auto service = serve([](const FakeService::Request &) {
            return FakeService::Response{200, okReply()};
        });
        RVProtocol client;
        client.hospitalList(u"协和&a=b"_s);
        const Form form = parseForm(service->lastRequest().body);
        QVERIFY(form.bwnr.contains(u"协和&a=b"_s));
    }

    void httpStatus_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("stats");
        QTest::addColumn<QString>("message");
        QTest::newRow("200") << 200 << okReply(u"好"_s) << true << u"好"_s;
        QTest::newRow("204 with no body is unreadable")
            << 204 << QByteArray() << false << u"网络出错。"_s;
        QTest::newRow("299") << 299 << okReply(u"好"_s) << true << u"好"_s;
        QTest::newRow("300") << 300 << okReply() << false << u"网络错误"_s;
        QTest::newRow("500") << 500 << okReply() << false << u"网络错误"_s;
        QTest::newRow("404") << 404 << QByteArray("missing") << false << u"网络错误"_s;
    }
    void httpStatus()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, stats);
        QFETCH(QString, message);
        auto service = serve([=](const FakeService::Request &) {
            return FakeService::Response{status, body};
        });
        RVProtocol client;
        const auto hospitals = client.hospitalList(QString());
        QCOMPARE(client.lastRepuestStats(), stats);
        QCOMPARE(client.lastErrorMsg(), message);
        QCOMPARE(client.HTTPResponseOK(), status / 100 == 2);
        // A failed exchange still reads as an (empty) list when the failure reply is readable.
        QCOMPARE(hospitals.has_value(), message != u"网络出错。"_s);
    }

    void status199IsNotSuccess()
    {
        auto service = serve([](const FakeService::Request &) {
            return FakeService::Response{199, okReply()};
        });
        RVHttpExchange::setTimeoutMsForTests(2000);
        RVProtocol client;
        client.hospitalList(QString());
        QVERIFY(!client.lastRepuestStats());
        QVERIFY(!client.HTTPResponseOK());
    }

    void refusedConnection()
    {
        quint16 closedPort = 0;
        {
            QTcpServer probe;
            probe.listen(QHostAddress::LocalHost, 0);
            closedPort = probe.serverPort();
        }
        RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, closedPort);
        RVProtocol client;
        const auto hospitals = client.hospitalList(QString());
        QVERIFY(!client.lastRepuestStats());
        QCOMPARE(client.lastErrorMsg(), u"无法连接服务器。"_s);
        QVERIFY(hospitals && hospitals->isEmpty());
    }

    void timeout()
    {
        auto service = serve([](const FakeService::Request &) {
            return FakeService::Response{200, okReply(), 3000};
        });
        RVHttpExchange::setTimeoutMsForTests(200);
        RVProtocol client;
        QElapsedTimer clock;
        clock.start();
        client.hospitalList(QString());
        QVERIFY(clock.elapsed() < 2500);
        QVERIFY(!client.lastRepuestStats());
        QCOMPARE(client.lastErrorMsg(), u"网络请求超时。"_s);
    }

    void oversizedReply()
    {
        auto service = serve([](const FakeService::Request &) {
            return FakeService::Response{200, QByteArray(RVHttpExchange::maxReplyBytes + 1, ' ')};
        });
        RVProtocol client;
        client.hospitalList(QString());
        QVERIFY(!client.lastRepuestStats());
        QCOMPARE(client.lastErrorMsg(), u"网络出错。"_s);
    }

    void accountReplies_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("stats");
        QTest::addColumn<QString>("message");
        const QJsonObject user{{u"yhm"_s, u"zhang"_s}, {u"gzmy"_s, userKey}, {u"yhid"_s, u"1"_s}};
        const QByteArray ok = okReply(u"登录成功"_s, user);
        QTest::newRow("enciphered")
            << enciphered(ok, RVCipher::fixedKeyText()) << true << u"登录成功"_s;
        QTest::newRow("upper-case hex")
            << enciphered(ok, RVCipher::fixedKeyText()).toUpper() << true << u"登录成功"_s;
        QTest::newRow("plain json after spaces") << QByteArray(" \t") + ok << true << u"登录成功"_s;
        QTest::newRow("plain json after a line break")
            << QByteArray("\n") + ok << false << u"网络出错。"_s;
        QTest::newRow("under another key") << enciphered(ok, userKey) << false << u"网络出错。"_s;
        QTest::newRow("truncated")
            << enciphered(ok, RVCipher::fixedKeyText()).chopped(16) << false << u"网络出错。"_s;
        QTest::newRow("empty") << QByteArray() << false << u"网络出错。"_s;
        QTest::newRow("not utf-8") << QByteArray("\xff\xfe\xfd") << false << u"网络出错。"_s;
        QTest::newRow("refused") << enciphered(R"({"head":{"succflag":"-1","retmsg":"密码错误"}})",
                                               RVCipher::fixedKeyText())
                                 << false << u"密码错误"_s;
    }
    void accountReplies()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, stats);
        QFETCH(QString, message);
        QByteArray sentMessage;
        auto service = serve([&](const FakeService::Request &request) {
            sentMessage = parseForm(request.body).bwnr.toUtf8();
            return FakeService::Response{200, reply};
        });
        RVLoginValues::set(u"earlier"_s, userKey);
        auto client = RVProtocol::create();
        const auto user = client->login(u"zhang"_s, u"secret"_s);
        QCOMPARE(client->lastRepuestStats(), stats);
        QCOMPARE(client->lastErrorMsg(), message);
        // The request itself always travels under the fixed key.
        const auto request =
            RVCipher::decipherFromHex(QString::fromLatin1(sentMessage), RVCipher::fixedKeyText());
        QVERIFY(request);
        QVERIFY(request->contains(u"\"self.xtmc\""_s));
        QCOMPARE(parseForm(service->lastRequest().body).yhm, u"zhang"_s);
        QCOMPARE(RVAppConfigInfo::userLogined(), stats);
        if (stats) {
            QVERIFY(user && user->state());
            QCOMPARE(RVLoginValues::username(), u"zhang"_s);
            QCOMPARE(RVLoginValues::dynamicKey(), userKey);
        } else {
            QVERIFY(RVLoginValues::username().isNull());
            QVERIFY(RVLoginValues::dynamicKey().isNull());
        }
    }

    void missingArgumentsSendNothing()
    {
        auto service = serve([](const FakeService::Request &) {
            return FakeService::Response{200, okReply()};
        });
        RVProtocol client;
        QVERIFY(!client.login(QString(), u"p"_s));
        QVERIFY(!client.login(u"u"_s, QString()));
        QVERIFY(!client.userRegister({}));
        QCOMPARE(service->requestCount(), 0);
        QVERIFY(client.typeCode().isNull());
    }

    void userTransactionWithoutKeyIsNotSent_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("no login") << QString();
        QTest::newRow("short key") << userKey.left(40);
    }
    void userTransactionWithoutKeyIsNotSent()
    {
        QFETCH(QString, key);
        auto service = serve([](const FakeService::Request &) {
            return FakeService::Response{200, okReply()};
        });
        RVLoginValues::set(u"zhang"_s, key);
        RVProtocol client;
        QVERIFY(!client.removeReserationWithUserId(u"1"_s, u"2"_s));
        QCOMPARE(client.lastErrorMsg(), u"请先登录"_s);
        QCOMPARE(service->requestCount(), 0);
    }

    void userTransactionUsesLoginKey()
    {
        auto service = serve([](const FakeService::Request &request) {
            const Form form = parseForm(request.body);
            const auto text = RVCipher::decipherFromHex(form.bwnr, userKey);
            if (!text || form.yhm != u"zhang"_s)
                return FakeService::Response{200, R"({"head":{"succflag":"-1","retmsg":"bad"}})"};
            QJsonObject booking{{u"yylsh"_s, u"88"_s}};
            return FakeService::Response{
                200, enciphered(okReply(u"ok"_s, {{u"list"_s, QJsonArray{booking}}}), userKey)};
        });
        RVLoginValues::set(u"zhang"_s, userKey);
        RVProtocol client;
        const auto bookings = client.reserationHistoryListWithTime({}, u"1"_s, QString());
        QVERIFY(client.lastRepuestStats());
        QVERIFY(bookings);
        QCOMPARE(bookings->size(), 1);
        QCOMPARE(bookings->first().yylsh().toString(), u"88"_s);
    }

    void asyncSuccessAndFailure_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("successes");
        QTest::addColumn<int>("failures");
        QTest::addColumn<bool>("stats");
        QTest::newRow("200") << 200 << 1 << 0 << true;
        QTest::newRow("500 still handles the body") << 500 << 0 << 1 << true;
    }
    void asyncSuccessAndFailure()
    {
        QFETCH(int, status);
        QFETCH(int, successes);
        QFETCH(int, failures);
        QFETCH(bool, stats);
        auto service = serve([=](const FakeService::Request &) {
            return FakeService::Response{status, okReply()};
        });
        auto observer = std::make_shared<Observer>();
        auto client = RVProtocol::create();
        client->addObserver(observer);
        client->hospitalList_async(QString());
        QVERIFY(client->isRunning());
        QTRY_COMPARE(observer->successes + observer->failures, 1);
        QCOMPARE(observer->successes, successes);
        QCOMPARE(observer->failures, failures);
        QCOMPARE(client->lastRepuestStats(), stats);
        QCOMPARE(observer->lastSender, client.get());
        QVERIFY(!client->isRunning());
    }

    void asyncTransportFailureClearsCode()
    {
        RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, 1);
        auto observer = std::make_shared<Observer>();
        auto client = RVProtocol::create();
        client->addObserver(observer);
        client->hospitalList_async(QString());
        QTRY_COMPARE(observer->failures, 1);
        QVERIFY(client->typeCode().isNull());
        QVERIFY(!client->lastRepuestStats());
    }

    void asyncRefusedWhileBusy()
    {
        auto service = serve([](const FakeService::Request &) {
            return FakeService::Response{200, okReply(), 300};
        });
        auto observer = std::make_shared<Observer>();
        auto client = RVProtocol::create();
        client->addObserver(observer);
        client->hospitalList_async(QString());
        client->doctorInfo_async(u"1"_s, u"2"_s);
        QCOMPARE(observer->failures, 1); // at once, inside the refused call
        QTRY_COMPARE(observer->successes, 1);
        QCOMPARE(service->requestCount(), 1);
    }

    void cancelSilencesAndFrees()
    {
        auto service = serve([](const FakeService::Request &) {
            return FakeService::Response{200, okReply(), 300};
        });
        auto observer = std::make_shared<Observer>();
        auto client = RVProtocol::create();
        client->addObserver(observer);
        client->cancel(); // idle: nothing happens
        client->hospitalList_async(QString());
        client->cancel();
        QVERIFY(!client->isRunning());
        QTest::qWait(500);
        QCOMPARE(observer->successes + observer->failures, 0);
        client->hospitalList_async(QString());
        QTRY_COMPARE(observer->successes, 1);
    }

    void notificationsArePrivateToTheClient()
    {
        auto service = serve([](const FakeService::Request &) {
            return FakeService::Response{200, okReply()};
        });
        auto first = RVProtocol::create();
        auto second = RVProtocol::create();
        QVERIFY(first->successNotificationName() != second->successNotificationName());
        auto observer = std::make_shared<Observer>();
        first->addObserver(observer);
        second->hospitalList_async(QString());
        QTRY_VERIFY(!second->isRunning());
        QCOMPARE(observer->successes + observer->failures, 0);
        const QString name = first->successNotificationName();
        QCOMPARE(platform::NotificationCenter::defaultCenter().observerCount(name), 1);
        first.reset();
        QCOMPARE(platform::NotificationCenter::defaultCenter().observerCount(name), 0);
    }

    void droppedClientFinishesItsExchange()
    {
        auto service = serve([](const FakeService::Request &) {
            return FakeService::Response{200, okReply(), 100};
        });
        std::weak_ptr<RVProtocol> watch;
        {
            auto client = RVProtocol::create();
            watch = client;
            client->hospitalList_async(QString());
        }
        QVERIFY(!watch.expired());
        QTRY_VERIFY(watch.expired());
        QCOMPARE(service->requestCount(), 1);
    }

    void cutShortReplyIsAFailure_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("async");
        QTest::addColumn<int>("ending");
        QTest::addColumn<bool>("whole");
        const int cut = int(Ending::CutShort);
        QTest::newRow("query cut short") << u"B001"_s << false << cut << false;
        QTest::newRow("user transaction cut short") << u"C002"_s << false << cut << false;
        QTest::newRow("async query cut short") << u"B001"_s << true << cut << false;
        QTest::newRow("async user transaction cut short") << u"C002"_s << true << cut << false;
        QTest::newRow("query ending with its connection")
            << u"B001"_s << false << int(Ending::NoLength) << true;
        QTest::newRow("async transaction ending with its connection")
            << u"C002"_s << true << int(Ending::NoLength) << true;
        QTest::newRow("chunked query") << u"B001"_s << false << int(Ending::Chunked) << true;
        QTest::newRow("async chunked transaction")
            << u"C002"_s << true << int(Ending::Chunked) << true;
    }
    void cutShortReplyIsAFailure()
    {
        QFETCH(QString, code);
        QFETCH(bool, async);
        QFETCH(int, ending);
        QFETCH(bool, whole);
        auto service = serve([&](const FakeService::Request &) {
            return FakeService::Response{200, listReply(code), 0, Ending(ending)};
        });
        RVLoginValues::set(u"zhang"_s, userKey);
        if (!async) {
            const auto client = runSync(code);
            QCOMPARE(client->lastRepuestStats(), whole);
            QCOMPARE(client->HTTPResponseOK(), whole);
            if (!whole)
                QCOMPARE(client->lastErrorMsg(), connectionLost);
            return;
        }
        auto observer = std::make_shared<Observer>();
        auto client = RVProtocol::create();
        client->addObserver(observer);
        if (code == u"B001")
            client->hospitalList_async(QString());
        else
            client->reserationHistoryListWithTime_async({}, u"1"_s, QString());
        QTRY_COMPARE(observer->successes + observer->failures, 1);
        QCOMPARE(observer->successes, whole ? 1 : 0);
        // A failed exchange handles no reply: the outcome keeps its initial failure.
        QCOMPARE(client->lastRepuestStats(), whole);
        QCOMPARE(client->lastTransportFailure(), whole ? QString() : connectionLost);
    }

    void transactionIsNeverSentTwice_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("reused");
        QTest::newRow("booking on a new connection") << u"C001"_s << false;
        QTest::newRow("booking on a reused connection") << u"C001"_s << true;
        QTest::newRow("cancelling on a reused connection") << u"C005"_s << true;
        QTest::newRow("password change on a reused connection") << u"C006"_s << true;
        QTest::newRow("login on a reused connection") << u"A002"_s << true;
    }
    void transactionIsNeverSentTwice()
    {
        QFETCH(QString, code);
        QFETCH(bool, reused);
        // The service reads the whole transaction and closes without answering: it may have
        // applied it, so the client must not send it again.
        auto service = serve([&](const FakeService::Request &request) {
            if (codeOf(request) == code)
                return FakeService::Response{200, {}, 0, Ending::CloseWithoutAnswer};
            return FakeService::Response{200, okReply()};
        });
        RVLoginValues::set(u"zhang"_s, userKey);
        if (reused) {
            QVERIFY(runSync(u"B005"_s)->lastRepuestStats());
            QCOMPARE(service->connectionCount(), 1);
        }
        const auto client = runSync(code);
        QTest::qWait(100); // a second copy would follow at once
        QCOMPARE(copiesOf(*service, code), 1);
        QCOMPARE(service->lastRequest().connection, 1);
        QVERIFY(!client->lastRepuestStats());
        QCOMPARE(client->lastErrorMsg(), connectionLost);
    }

    void staleQueryConnectionIsReopened_data()
    {
        QTest::addColumn<int>("firstEnding");
        QTest::addColumn<int>("copies");
        QTest::newRow("closed after the first answer") << int(Ending::CloseAfterAnswer) << 1;
        QTest::newRow("closed on reading the next query") << int(Ending::KeepOpen) << 2;
    }
    void staleQueryConnectionIsReopened()
    {
        QFETCH(int, firstEnding);
        QFETCH(int, copies);
        auto service = serve([&](const FakeService::Request &request) {
            if (request.onConnection == 1)
                return FakeService::Response{200, listReply(codeOf(request)), 0,
                                             Ending(firstEnding)};
            return FakeService::Response{200, {}, 0, Ending::CloseWithoutAnswer};
        });
        QVERIFY(runSync(u"B005"_s)->lastRepuestStats());
        const auto client = runSync(u"B001"_s);
        QVERIFY(client->lastRepuestStats());
        QCOMPARE(client->lastErrorMsg(), u"成功"_s);
        QCOMPARE(copiesOf(*service, u"B001"_s), copies);
        QCOMPARE(service->connectionCount(), 2);
    }

    void sequentialExchangesShareOneConnection()
    {
        auto service = serve([](const FakeService::Request &request) {
            return FakeService::Response{200, listReply(codeOf(request))};
        });
        RVLoginValues::set(u"zhang"_s, userKey);
        for (int i = 0; i < 5; ++i) {
            QVERIFY(runSync(u"B001"_s)->lastRepuestStats());
            QVERIFY(runSync(u"C002"_s)->lastRepuestStats());
        }
        QCOMPARE(service->requestCount(), 10);
        QCOMPARE(service->connectionCount(), 1);
    }

    void longIdleConnectionIsReplaced()
    {
        // The service may be closing a connection idle that long; a transaction must not go
        // out on it, so a new one is opened instead.
        auto service = serve([](const FakeService::Request &request) {
            return FakeService::Response{200, listReply(codeOf(request))};
        });
        RVLoginValues::set(u"zhang"_s, userKey);
        RVCurlNetworkLayer::Options options;
        options.maxIdleSecondsBeforeReuse = 1;
        RVCurlNetworkLayer layer(options);
        QVERIFY(runSync(u"C002"_s, &layer)->lastRepuestStats());
        QVERIFY(runSync(u"C002"_s, &layer)->lastRepuestStats());
        QCOMPARE(service->connectionCount(), 1); // reused while fresh
        QTest::qWait(2100);
        QVERIFY(runSync(u"C002"_s, &layer)->lastRepuestStats());
        QCOMPARE(service->connectionCount(), 2);
        QCOMPARE(layer.connectionsOpened(), 2);
    }

    void timeoutOnAReusedConnection()
    {
        auto service = serve([](const FakeService::Request &request) {
            return FakeService::Response{200, okReply(), request.onConnection == 1 ? 0 : 3000};
        });
        RVHttpExchange::setTimeoutMsForTests(200);
        QVERIFY(runSync(u"B005"_s)->lastRepuestStats());
        QElapsedTimer clock;
        clock.start();
        const auto client = runSync(u"B001"_s);
        QVERIFY(clock.elapsed() < 2500);
        QVERIFY(!client->lastRepuestStats());
        QCOMPARE(client->lastErrorMsg(), u"网络请求超时。"_s);
        QCOMPARE(service->lastRequest().connection, 1);
        QCOMPARE(service->lastRequest().onConnection, 2);
    }

    void severalWorkersAtOnce()
    {
        // Every answer waits until all workers' requests could have arrived: they run side by
        // side, not one after another.
        FakeService service([](const FakeService::Request &) {
            return FakeService::Response{200, okReply(u"好"_s), 1000};
        });
        RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, service.startThreaded());
        constexpr int workers = 4;
        std::array<bool, workers> outcomes{};
        std::vector<std::thread> threads;
        for (int i = 0; i < workers; ++i)
            threads.emplace_back([&outcomes, i] {
                RVProtocol client;
                client.hospitalList(QString());
                outcomes[size_t(i)] = client.lastRepuestStats();
            });
        for (std::thread &thread : threads)
            thread.join();
        for (const bool ok : outcomes)
            QVERIFY(ok);
        QCOMPARE(service.requestCount(), workers);
        QCOMPARE(service.peakInFlight(), workers);
    }

    void sessionKeyIsNeverLogged_data()
    {
        QTest::addColumn<bool>("plain");
        QTest::addColumn<bool>("async");
        QTest::newRow("enciphered reply") << false << false;
        QTest::newRow("plain reply") << true << false;
        QTest::newRow("async reply") << false << true;
    }
    void sessionKeyIsNeverLogged()
    {
        QFETCH(bool, plain);
        QFETCH(bool, async);
        const QByteArray reply =
            okReply(u"登录成功"_s, {{u"yhm"_s, u"zhang"_s}, {u"gzmy"_s, userKey}});
        auto service = serve([&](const FakeService::Request &) {
            return FakeService::Response{200, plain ? reply
                                                    : enciphered(reply, RVCipher::fixedKeyText())};
        });
        capturedLog.clear();
        QLoggingCategory::setFilterRules(u"rv.protocols*.debug=true"_s);
        const QtMessageHandler previous = qInstallMessageHandler(captureLog);
        auto client = RVProtocol::create();
        if (async) {
            client->login_async(u"zhang"_s, u"secret-word"_s);
            QTRY_VERIFY(!client->isRunning());
        } else {
            client->login(u"zhang"_s, u"secret-word"_s);
        }
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules(QString());
        QCOMPARE(RVLoginValues::dynamicKey(), userKey); // the key did arrive
        const QString log = capturedLog.join(u'\n');
        QVERIFY(log.contains(u"\"gzmy\""_s)); // the reply was logged...
        QVERIFY(!log.contains(userKey));      // ...without its key
        QVERIFY(!log.contains(userKey.toUpper()));
        QVERIFY(!log.contains(u"secret-word"_s));
    }

    void networkFailureTexts_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        using Kind = RVNetworkLayer::FailureKind;
        QTest::newRow("refused or unknown host")
            << int(Kind::CannotConnect) << u"无法连接服务器。"_s;
        QTest::newRow("time-out") << int(Kind::TimedOut) << u"网络请求超时。"_s;
        QTest::newRow("connection lost") << int(Kind::ConnectionLost) << connectionLost;
        QTest::newRow("reply too large") << int(Kind::TooLarge) << u"网络出错。"_s;
        QTest::newRow("bad address") << int(Kind::BadAddress) << u"服务器地址无效。"_s;
        QTest::newRow("anything else") << int(Kind::Other) << u"网络连接失败。"_s;
    }
    void networkFailureTexts()
    {
        QFETCH(int, kind);
        QFETCH(QString, message);
        // Half a reply came before the failure: it must never be read as the reply.
        ScriptedLayer layer;
        layer.body = okReply();
        layer.failure = {RVNetworkLayer::FailureKind(kind), u"library text"_s};
        const auto client = runSync(u"B001"_s, &layer);
        QVERIFY(!client->lastRepuestStats());
        QCOMPARE(client->lastErrorMsg(), message);

        auto observer = std::make_shared<Observer>();
        auto asyncClient = RVProtocol::create();
        asyncClient->setNetworkLayer(&layer);
        asyncClient->addObserver(observer);
        asyncClient->hospitalList_async(QString());
        QTRY_COMPARE(observer->failures, 1);
        QCOMPARE(observer->successes, 0);
        QCOMPARE(asyncClient->lastTransportFailure(), message);
        QVERIFY(asyncClient->typeCode().isNull());
    }

    // Whether an answer may have been lost is read from what happened, never from a text.
    void outcomeTellsWhatHappened_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("status"); // 0: the connection is lost
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<RVExchangeOutcome::Kind>("kind");
        QTest::addColumn<bool>("lost");
        using K = RVExchangeOutcome::Kind;
        const QByteArray refusal = R"({"head":{"succflag":"1","retmsg":"网络出错。"}})";
        QTest::newRow("answered") << u"B001"_s << 200 << okReply() << K::Answered << false;
        QTest::newRow("refused in an unreadable reply's words")
            << u"B001"_s << 200 << refusal << K::Refused << false;
        QTest::newRow("HTTP error") << u"B001"_s << 500 << okReply() << K::NoAnswer << true;
        QTest::newRow("connection lost") << u"C005"_s << 0 << okReply() << K::NoAnswer << true;
        QTest::newRow("not JSON") << u"C005"_s << 200 << QByteArray("<") << K::Unreadable << true;
        QTest::newRow("no login key") << u"C006"_s << 200 << okReply() << K::NotSent << false;
    }
    void outcomeTellsWhatHappened()
    {
        QFETCH(QString, code);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(RVExchangeOutcome::Kind, kind);
        QFETCH(bool, lost);
        ScriptedLayer layer;
        layer.status = status;
        layer.body = body;
        if (status == 0)
            layer.failure = {RVNetworkLayer::FailureKind::ConnectionLost, u"reset"_s};
        RVLoginValues::set(u"zhang"_s, code == u"C006" ? QString() : userKey);
        const auto client = runSync(code, &layer);
        QCOMPARE(client->outcome().kind(), kind);
        QCOMPARE(client->outcome().answerLost(), lost);
        QCOMPARE(client->outcome().succeeded(), client->lastRepuestStats());
        QCOMPARE(client->outcome().message(), client->lastErrorMsg());
        QCOMPARE(layer.requests.isEmpty(), kind == RVExchangeOutcome::Kind::NotSent);
    }

    void resendRuleFollowsTheCode_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("mayResend");
        QTest::newRow("query") << u"B001"_s << true;
        QTest::newRow("login") << u"A002"_s << false;
        QTest::newRow("booking") << u"C001"_s << false;
        QTest::newRow("cancelling") << u"C005"_s << false;
        QTest::newRow("password change") << u"C006"_s << false;
    }
    void resendRuleFollowsTheCode()
    {
        QFETCH(QString, code);
        QFETCH(bool, mayResend);
        ScriptedLayer layer;
        layer.body = okReply();
        RVLoginValues::set(u"zhang"_s, userKey);
        RVHttpExchange::setTimeoutMsForTests(1234);
        runSync(code, &layer);
        QCOMPARE(layer.requests.size(), 1);
        const RVNetworkLayer::Request &request = layer.requests.first();
        QCOMPARE(request.resend == RVNetworkLayer::Resend::OnceOnStaleConnection, mayResend);
        QCOMPARE(request.method, RVNetworkLayer::Method::Post);
        QCOMPARE(request.idleTimeoutMs, 1234);
        QCOMPARE(request.maxBodyBytes, qint64(RVHttpExchange::maxReplyBytes));
        QVERIFY(!request.followRedirects);
        QCOMPARE(parseForm(request.body).jym, code);
    }

    void registrationSavesTheNewUsersPassword()
    {
        RVLoginState::applyOutcome(0, RVLoginState::Outcome::Accepted, {}, u"earlier-pass"_s);
        auto service = serve([](const FakeService::Request &) {
            return FakeService::Response{200, okReply(u"ok"_s, {{u"gzmy"_s, userKey}})};
        });
        RVProtocol().userRegister({{u"yhm"_s, u"newbie"_s}, {u"mm"_s, u"typed-pass"_s}});
        QCOMPARE(RVAppConfigInfo().password(), u"typed-pass"_s);
    }

    // The service has replaced the key the client holds: one new login with the saved
    // password, then the refused transaction once more; never more than that.
    // Only a refused password logs out (the logout handler); an outage keeps the login.
    void refusedKeyIsRenewedOnce_data()
    {
        QTest::addColumn<bool>("loggedIn");
        QTest::addColumn<int>("loginStatus");
        QTest::addColumn<QString>("loginRefusal"); // null: the login is accepted
        QTest::addColumn<bool>("newKeyWorks");
        QTest::addColumn<int>("sends");
        QTest::addColumn<bool>("staysLoggedIn");
        QTest::addColumn<QString>("message");
        const QString expired = u"登录已失效，请重新登录"_s;
        const QString unavailable = u"服务暂时不可用，请稍后再试"_s;
        QTest::newRow("renewed and resent")
            << true << 200 << QString() << true << 2 << true << u"ok"_s;
        QTest::newRow("password refused: logged out")
            << true << 200 << u"帐户名或密码错误"_s << true << 1 << false << expired;
        QTest::newRow("service unavailable: login stays")
            << true << 200 << unavailable << true << 1 << true << unavailable;
        QTest::newRow("service away: login stays")
            << true << 503 << QString() << true << 1 << true << u"网络错误"_s;
        QTest::newRow("resend refused: no loop")
            << true << 200 << QString() << false << 2 << true << expired;
        QTest::newRow("logged out: no login")
            << false << 200 << QString() << true << 1 << false << expired;
    }
    void refusedKeyIsRenewedOnce()
    {
        QFETCH(bool, loggedIn);
        QFETCH(int, loginStatus);
        QFETCH(QString, loginRefusal);
        QFETCH(bool, newKeyWorks);
        QFETCH(int, sends);
        QFETCH(bool, staysLoggedIn);
        QFETCH(QString, message);
        const QString newKey = userKey.right(16) + userKey.left(32);
        const QByteArray renewed = okReply(u"ok"_s, {{u"yhm"_s, u"zhang"_s}, {u"gzmy"_s, newKey}});
        auto service = serve([&](const FakeService::Request &request) {
            const Form form = parseForm(request.body);
            if (form.jym == u"A002"_s)
                return FakeService::Response{
                    loginStatus, loginRefusal.isNull() ? renewed : refusal(loginRefusal)};
            const bool accepted = newKeyWorks && RVCipher::decipherFromHex(form.bwnr, newKey);
            return FakeService::Response{200,
                                         accepted ? renewed : refusal(u"登录已失效，请重新登录"_s)};
        });
        int logouts = 0;
        RVLoginRenewal::setLogoutHandler([&logouts] {
            ++logouts;
            RVLoginState::applyLogout();
        });
        const RVUserInfo user = RVBaseInfo::fromDictionary<RVUserInfo>(
            QJsonObject{{u"yhm"_s, u"zhang"_s}, {u"gzmy"_s, userKey}});
        RVLoginState::applyOutcome(0, RVLoginState::Outcome::Accepted, user, u"secret"_s);
        if (!loggedIn)
            RVLoginState::applyLogout();
        RVProtocol client;
        client.reserationHistoryListWithTime({}, u"1"_s, QString());
        RVLoginRenewal::setLogoutHandler({});
        QCOMPARE(copiesOf(*service, u"A002"_s), loggedIn ? 1 : 0);
        QCOMPARE(copiesOf(*service, u"C002"_s), sends);
        QCOMPARE(client.lastErrorMsg(), message);
        QCOMPARE(RVAppConfigInfo::userLogined(), staysLoggedIn);
        QCOMPARE(logouts, int(loggedIn && !staysLoggedIn));
        QCOMPARE(RVAppConfigInfo().password() == u"secret"_s, loggedIn && staysLoggedIn);
    }

    void logoutKeepsLoginValues()
    {
        auto service = serve([](const FakeService::Request &) {
            return FakeService::Response{200, okReply()};
        });
        RVLoginValues::set(u"zhang"_s, userKey);
        RVAppConfigInfo::setUserLoginStats(true);
        RVProtocol::create()->logout();
        QVERIFY(!RVAppConfigInfo::userLogined());
        QTRY_COMPARE(service->requestCount(), 1);
        QCOMPARE(parseForm(service->lastRequest().body).jym, u"C003"_s);
        QCOMPARE(RVLoginValues::username(), u"zhang"_s);
        QCOMPARE(RVLoginValues::dynamicKey(), userKey);
    }
};

QTEST_GUILESS_MAIN(TestRVProtocol)
#include "tst_rvprotocol.moc"
