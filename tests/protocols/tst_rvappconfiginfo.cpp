// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "fakeservice.h"
#include "platform/userdefaults.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvcipher.h"
#include "protocols/rvloginvalues.h"
#include "protocols/rvprotocol.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>

#include <atomic>
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
                return reply(R"({"head":{"succflag":"-1","retmsg":"密码错误"}})",
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
        QCOMPARE(config.password(), u"right"_s);
        QCOMPARE(config.userInfo().yhm().toString(), u"li"_s);
        QVERIFY(!RVAppConfigInfo::userLogined());
        QCOMPARE(keyed.mixed(), 0);
    }

    void readOnlyRecordSavesNothing()
    {
        UserDefaults &store = UserDefaults::standardUserDefaults();
        store.setObject(u"Password"_s, u"saved"_s);
        store.synchronize();
        {
            RVAppConfigInfo config;
            store.setObject(u"Password"_s, u"changed elsewhere"_s);
            QVERIFY(!config.infoChanged());
        }
        QCOMPARE(store.objectForKey(u"Password"_s).toString(), u"changed elsewhere"_s);
    }

    void savedRecordIsNotWrittenAgain()
    {
        UserDefaults &store = UserDefaults::standardUserDefaults();
        {
            RVAppConfigInfo config;
            config.setPassword(u"mine"_s);
            QVERIFY(config.infoChanged());
            config.saveNSUserDefaults();
            QVERIFY(!config.infoChanged());
            store.setObject(u"Password"_s, u"changed elsewhere"_s);
        }
        QCOMPARE(store.objectForKey(u"Password"_s).toString(), u"changed elsewhere"_s);
        {
            RVAppConfigInfo config;
            config.setPassword(u"unsaved"_s);
        }
        QCOMPARE(store.objectForKey(u"Password"_s).toString(), u"unsaved"_s);
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
