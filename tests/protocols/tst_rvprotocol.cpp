// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "fakeservice.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvcipher.h"
#include "protocols/rvhttpexchange.h"
#include "protocols/rvloginvalues.h"
#include "protocols/rvprotocol.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTest>

using namespace Qt::StringLiterals;

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

QByteArray enciphered(const QByteArray &json, const QString &key)
{
    return RVCipher::encipherToHex(QString::fromUtf8(json), key)->toLatin1();
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
        QVERIFY(!client.lastErrorMsg().isEmpty());
        QVERIFY(client.lastErrorMsg() != u"网络错误"_s);
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
