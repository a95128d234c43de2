// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "fakeservice.h"
#include "platform/secretstore.h"
#include "platform/userdefaults.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvcipher.h"
#include "protocols/rvhttpexchange.h"
#include "protocols/rvloginstate.h"
#include "protocols/rvloginvalues.h"
#include "protocols/rvprotocol.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QStandardPaths>
#include <QTest>

#include <atomic>
#include <latch>
#include <memory>
#include <optional>
#include <thread>

using namespace Qt::StringLiterals;
using platform::UserDefaults;

namespace
{

// A service that hands every login a key of its own and checks that each later user
// transaction is enciphered under the key of the very name it carries.
class KeyedService
{
public:
    FakeService::Response handle(const FakeService::Request &request)
    {
        const QString text = QString::fromUtf8(request.body);
        const qsizetype at = text.indexOf(u"&bwnr="_s);
        const QStringList fields = text.left(at).split(u'&');
        const QString yhm = fields.value(0).mid(4);
        const QString code = fields.value(1).mid(4);
        const QString message = text.mid(at + 6);
        QMutexLocker lock(&m_mutex);
        if (code == u"A002") {
            const auto body = RVCipher::decipherFromHex(message, RVCipher::fixedKeyText());
            const QJsonObject request = QJsonDocument::fromJson(body.value_or(QString()).toUtf8())
                                            .object()
                                            .value(u"body"_s)
                                            .toObject();
            if (request.value(u"mm"_s).toString() != u"right"_s)
                return reply(R"({"head":{"succflag":"-1","retmsg":"帐户名或密码错误"}})",
                             RVCipher::fixedKeyText());
            // Random keys: DES ignores the low bit of every key byte, so keys made from
            // counters could collide.
            QByteArray bytes(RVCipher::keyBytes, Qt::Uninitialized);
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(bytes.data()),
                                                  RVCipher::keyBytes / 4);
            const QString key = RVCipher::nsdataToHex(bytes);
            m_keys.insert(key, yhm);
            const QJsonObject user{{u"yhm"_s, yhm}, {u"gzmy"_s, key}, {u"yhid"_s, yhm}};
            return reply(envelope(user), RVCipher::fixedKeyText());
        }
        for (auto it = m_keys.cbegin(); it != m_keys.cend(); ++it) {
            if (RVCipher::decipherFromHex(message, it.key())) {
                if (it.value() != yhm)
                    ++m_mixed;
                return reply(envelope({}), it.key());
            }
        }
        ++m_mixed;
        return reply(R"({"head":{"succflag":"-1","retmsg":"无效密钥"}})", RVCipher::fixedKeyText());
    }
    int mixed()
    {
        QMutexLocker lock(&m_mutex);
        return m_mixed;
    }

private:
    static QByteArray envelope(const QJsonObject &body)
    {
        const QJsonObject head{{u"succflag"_s, u"0"_s}, {u"retmsg"_s, u"成功"_s}};
        return QJsonDocument(QJsonObject{{u"head"_s, head}, {u"body"_s, body}}).toJson();
    }
    static FakeService::Response reply(const QByteArray &json, const QString &key)
    {
        return {200, RVCipher::encipherToHex(QString::fromUtf8(json), key)->toLatin1()};
    }

    QMutex m_mutex;
    QHash<QString, QString> m_keys;
    int m_mixed = 0;
};

// A service of accounts: a login is accepted when its password is "pw-" followed by the name.
// What it answers otherwise, and whether logins wait at a gate first, each test decides.
class AccountService
{
public:
    enum class Answer { Normal, HttpError, Unreadable, Unavailable };

    FakeService::Response handle(const FakeService::Request &request)
    {
        const QString text = QString::fromUtf8(request.body);
        const qsizetype at = text.indexOf(u"&bwnr="_s);
        const QString code = text.left(at).split(u'&').value(1).mid(4);
        if (code != u"A002")
            return reply(envelope({}, true)); // the logout: nothing to check
        if (gated) {
            arrived.release();
            gate.acquire();
        }
        if (answer == Answer::HttpError)
            return {500, "internal error"};
        if (answer == Answer::Unreadable)
            return {200, "<html>proxy login page</html>"};
        const auto body = RVCipher::decipherFromHex(text.mid(at + 6), RVCipher::fixedKeyText());
        const QJsonObject fields = QJsonDocument::fromJson(body.value_or(QString()).toUtf8())
                                       .object()
                                       .value(u"body"_s)
                                       .toObject();
        const QString name = fields.value(u"yhm"_s).toString();
        if (answer == Answer::Unavailable)
            return reply(envelope({}, false, u"服务暂时不可用，请稍后再试"_s));
        if (fields.value(u"mm"_s).toString() != u"pw-"_s + name)
            return reply(envelope({}, false, u"帐户名或密码错误"_s));
        QByteArray key(RVCipher::keyBytes, Qt::Uninitialized);
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(key.data()),
                                              RVCipher::keyBytes / 4);
        const QJsonObject user{{u"yhm"_s, name},
                               {u"xm"_s, QString(u"用户"_s + name)},
                               {u"gzmy"_s, RVCipher::nsdataToHex(key)}};
        return reply(envelope(user, true));
    }

    std::atomic<Answer> answer{Answer::Normal};
    std::atomic_bool gated{false};
    QSemaphore arrived;
    QSemaphore gate;

private:
    static QByteArray envelope(const QJsonObject &body, bool success, const QString &refusal = {})
    {
        const QJsonObject head{{u"succflag"_s, success ? u"0"_s : u"-1"_s},
                               {u"retmsg"_s, success ? u"成功"_s : refusal}};
        return QJsonDocument(QJsonObject{{u"head"_s, head}, {u"body"_s, body}}).toJson();
    }
    static FakeService::Response reply(const QByteArray &json)
    {
        return {
            200,
            RVCipher::encipherToHex(QString::fromUtf8(json), RVCipher::fixedKeyText())->toLatin1()};
    }
};

// What the unit holds now, saved and in memory.
struct Unit {
    bool savedFlag;
    QString savedName;
    QString savedPassword;
    QString loginName;
    bool logined;

    static Unit now()
    {
        UserDefaults::standardUserDefaults().reload(); // what a restart would read
        RVAppConfigInfo config;
        return {config.lastLoginSuccess(), RVBaseInfo::text(config.userInfo().yhm()),
                config.password(), RVLoginValues::username(), RVAppConfigInfo::userLogined()};
    }
    // One login's values throughout: the state and the saved flag agree, and a logged-in
    // state has the saved user's name and password in the login values.
    QString inconsistency() const
    {
        if (savedFlag != logined)
            return u"saved flag %1, state %2"_s.arg(savedFlag).arg(logined);
        if (logined && (loginName != savedName || savedPassword != u"pw-"_s + savedName))
            return u"logged in as %1, saved %2 with password %3"_s.arg(loginName, savedName,
                                                                       savedPassword);
        return {};
    }
};

void forgetEverything()
{
    platform::SecretStore::standard().flush(5000); // a queued write would bring values back
    QFile::remove(UserDefaults::standardFilePath());
    UserDefaults::standardUserDefaults().reload();
    RVAppConfigInfo::setUserLoginStats(false);
    RVLoginValues::clear();
}

} // namespace

class TestRVAppConfigInfo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QFile::remove(UserDefaults::standardFilePath());
        UserDefaults::standardUserDefaults().reload();
    }

    void firstStart()
    {
        RVAppConfigInfo config;
        QVERIFY(!config.lastLoginSuccess());
        QVERIFY(config.password().isNull());
        QVERIFY(config.userInfo().body_dict().isEmpty());
        QVERIFY(!config.userInfo().state());
        QVERIFY(!RVAppConfigInfo::userLogined());
    }

    void loginFailedLoginAndLogout()
    {
        KeyedService keyed;
        FakeService service([&](const FakeService::Request &r) { return keyed.handle(r); });
        RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, service.start());

        QVERIFY(RVProtocol().login(u"li"_s, u"right"_s)->state());
        {
            RVAppConfigInfo config;
            QVERIFY(config.lastLoginSuccess());
            QCOMPARE(config.password(), u"right"_s);
            QCOMPARE(config.userInfo().yhm().toString(), u"li"_s);
            QVERIFY(RVCipher::isUsableKey(config.userInfo().gzmy().toString()));
        }
        // What is on disk, read back as a restart would.
        UserDefaults::standardUserDefaults().reload();
        QVERIFY(UserDefaults::standardUserDefaults().boolForKey(u"LoginSuccess"_s));
        // The store holds a password: nobody but its owner may read it.
        const auto permissions = QFile::permissions(UserDefaults::standardFilePath());
        QVERIFY(permissions.testFlag(QFile::ReadOwner) && permissions.testFlag(QFile::WriteOwner));
        QVERIFY(!(permissions &
                  (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther)));

        auto refused = RVProtocol().login(u"li"_s, u"wrong"_s);
        QVERIFY(refused && !refused->state());
        QCOMPARE(RVLoginValues::username(), QString());
        QVERIFY(!RVAppConfigInfo::userLogined());
        QVERIFY(!RVAppConfigInfo::savedLastLoginSuccess());
        RVProtocol afterRefusal;
        afterRefusal.removeReserationWithUserId(u"li"_s, u"1"_s);
        QCOMPARE(afterRefusal.lastErrorMsg(), u"请先登录"_s);

        QVERIFY(RVProtocol().login(u"li"_s, u"right"_s)->state());
        RVProtocol::create()->logout();
        RVAppConfigInfo config;
        QVERIFY(!config.lastLoginSuccess());
        QCOMPARE(config.password(), QString());
        QCOMPARE(config.userInfo().body_dict(), QJsonObject({{u"yhm"_s, u"li"_s}}));
        QVERIFY(!RVAppConfigInfo::userLogined());
        QCOMPARE(keyed.mixed(), 0);
    }

    void outcomeOfALoginAttempt_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<bool>("flagAfter");
        QTest::addColumn<bool>("loginedAfter");
        QTest::addColumn<QString>("nameAfter");
        QTest::newRow("accepted") << u"none"_s << true << true << u"li"_s;
        QTest::newRow("password refused") << u"refused"_s << false << false << QString();
        QTest::newRow("service unavailable") << u"unavailable"_s << true << false << QString();
        QTest::newRow("service not running") << u"unreachable"_s << true << false << QString();
        QTest::newRow("HTTP error") << u"http"_s << true << false << QString();
        QTest::newRow("unreadable answer") << u"unreadable"_s << true << false << QString();
        QTest::newRow("no answer within the time-out")
            << u"timeout"_s << true << false << QString();
    }

    // Only the service's refusal of the password forgets a saved login; any other failure ends
    // the login of this run but leaves the saved login and password.
    void outcomeOfALoginAttempt()
    {
        QFETCH(QString, failure);
        QFETCH(bool, flagAfter);
        QFETCH(bool, loginedAfter);
        QFETCH(QString, nameAfter);
        forgetEverything();
        AccountService accounts;
        auto service = std::make_unique<FakeService>(
            [&](const FakeService::Request &r) { return accounts.handle(r); });
        const quint16 port = service->startThreaded();
        RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, port);
        QVERIFY(RVProtocol().login(u"li"_s, u"pw-li"_s)->state());

        QString password = u"pw-li"_s;
        if (failure == u"refused")
            password = u"wrong"_s;
        else if (failure == u"unreachable")
            service.reset(); // the port is closed now
        else if (failure == u"http")
            accounts.answer = AccountService::Answer::HttpError;
        else if (failure == u"unreadable")
            accounts.answer = AccountService::Answer::Unreadable;
        else if (failure == u"unavailable")
            accounts.answer = AccountService::Answer::Unavailable;
        else if (failure == u"timeout") {
            accounts.gated = true;
            RVHttpExchange::setTimeoutMsForTests(300);
        }
        const auto reply = RVProtocol().login(u"li"_s, password);
        if (failure == u"timeout") {
            accounts.gate.release();
            RVHttpExchange::setTimeoutMsForTests(30000);
        }
        QCOMPARE(reply && reply->state(), failure == u"none");

        const Unit unit = Unit::now();
        QCOMPARE(unit.savedFlag, flagAfter);
        QCOMPARE(unit.logined, loginedAfter);
        QCOMPARE(unit.loginName, nameAfter);
        QCOMPARE(unit.savedName, u"li"_s);
        QCOMPARE(unit.savedPassword, u"pw-li"_s); // a refused password is never saved
    }

    // A logout while a login waits for its answer: the answer that comes afterwards does not
    // log the user back in.
    void logoutWhileLoginWaits()
    {
        forgetEverything();
        AccountService accounts;
        FakeService service([&](const FakeService::Request &r) { return accounts.handle(r); });
        RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, service.startThreaded());
        QVERIFY(RVProtocol().login(u"li"_s, u"pw-li"_s)->state());

        accounts.gated = true;
        std::optional<RVUserInfo> reply;
        std::thread login([&reply] { reply = RVProtocol().login(u"li"_s, u"pw-li"_s); });
        QVERIFY(accounts.arrived.tryAcquire(1, 5000));
        RVProtocol::create()->logout();
        accounts.gate.release();
        login.join();
        QVERIFY(reply && reply->state()); // the service did accept it

        const Unit unit = Unit::now();
        QVERIFY(!unit.logined);
        QVERIFY(!unit.savedFlag);
        QCOMPARE(unit.savedPassword, QString());
        QTRY_COMPARE(service.requestCount(), 3); // the logout's own exchange went out
    }

    void outcomesAppliedAtTheSameMoment_data()
    {
        QTest::addColumn<QString>("second");
        QTest::newRow("two accepted logins: the later one wins") << u"login"_s;
        QTest::newRow("a login and a later logout: logged out") << u"logout"_s;
        QTest::newRow("a login and a later refusal: logged out") << u"refused"_s;
    }

    // Two outcomes released at the same instant, many times over: whichever thread runs
    // first, the exchange that started later decides, and the unit is never mixed.
    void outcomesAppliedAtTheSameMoment()
    {
        QFETCH(QString, second);
        RVUserInfo zhang;
        zhang.setYhm(u"zhang"_s);
        zhang.setGzmy(u"0123456789abcdef0123456789abcdef0123456789abcdef"_s);
        RVUserInfo wang;
        wang.setYhm(u"wang"_s);
        wang.setGzmy(u"fedcba9876543210fedcba9876543210fedcba9876543210"_s);
        constexpr int rounds = 300;
        for (int round = 0; round < rounds; ++round) {
            forgetEverything();
            const quint64 first = RVLoginState::beginAttempt();
            const quint64 later = second == u"logout" ? 0 : RVLoginState::beginAttempt();
            std::latch start(2);
            std::thread a([&] {
                start.arrive_and_wait();
                RVLoginState::applyOutcome(first, RVLoginState::Outcome::Accepted, zhang,
                                           u"pw-zhang"_s);
            });
            std::thread b([&] {
                start.arrive_and_wait();
                if (second == u"logout")
                    RVLoginState::applyLogout();
                else if (second == u"login")
                    RVLoginState::applyOutcome(later, RVLoginState::Outcome::Accepted, wang,
                                               u"pw-wang"_s);
                else
                    RVLoginState::applyOutcome(later, RVLoginState::Outcome::Refused);
            });
            a.join();
            b.join();
            const Unit unit = Unit::now();
            const QString where = u"round %1: "_s.arg(round);
            QVERIFY2(unit.inconsistency().isEmpty(), qPrintable(where + unit.inconsistency()));
            QVERIFY2(unit.logined == (second == u"login"), qPrintable(where));
            if (second == u"login")
                QCOMPARE(unit.loginName, u"wang"_s);
        }
    }

    void readOnlyRecordSavesNothing()
    {
        UserDefaults &store = UserDefaults::standardUserDefaults();
        store.setObject(u"LoginSuccess"_s, false);
        store.synchronize();
        {
            RVAppConfigInfo config;
            store.setObject(u"LoginSuccess"_s, true);
            QVERIFY(!config.infoChanged());
        }
        QVERIFY(store.boolForKey(u"LoginSuccess"_s));
    }

    void savedRecordIsNotWrittenAgain()
    {
        UserDefaults &store = UserDefaults::standardUserDefaults();
        {
            RVAppConfigInfo config;
            config.setLastLoginSuccess(true);
            QVERIFY(config.infoChanged());
            QVERIFY(config.saveNSUserDefaults());
            QVERIFY(!config.infoChanged());
            store.setObject(u"LoginSuccess"_s, false);
        }
        QVERIFY(!store.boolForKey(u"LoginSuccess"_s));
        {
            RVAppConfigInfo config;
            config.setLastLoginSuccess(true);
        }
        QVERIFY(store.boolForKey(u"LoginSuccess"_s));
    }

    void concurrentTransactionsNeverMixNameAndKey()
    {
        KeyedService keyed;
        FakeService service([&](const FakeService::Request &r) { return keyed.handle(r); });
        RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, service.startThreaded());
        std::atomic<int> failures{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([t, &failures] {
                const QString name = u"user%1"_s.arg(t);
                for (int round = 0; round < 6; ++round) {
                    if (!RVProtocol().login(name, u"right"_s))
                        ++failures;
                    RVProtocol().reserationHistoryListWithTime({}, name, QString());
                }
            });
        }
        for (auto &thread : threads)
            thread.join();
        QCOMPARE(failures.load(), 0);
        QCOMPARE(keyed.mixed(), 0);
    }
};

QTEST_GUILESS_MAIN(TestRVAppConfigInfo)
#include "tst_rvappconfiginfo.moc"
