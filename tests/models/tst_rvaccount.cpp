// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvaccount.h"
#include "models/rvbookingstore.h"
#include "platform/secretstore.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvloginvalues.h"
#include "protocols/rvprotocol.h"
#include "service/rvservicethread.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

// The one logout, by the button and after the service refused the saved login on a renewal:
// of the user nothing stays in the application's folders but the login name.
class TestRVAccount : public QObject
{
    Q_OBJECT
    RVServiceThread m_service;

    static QStringList filesHolding(const QString &text)
    {
        QProcess grep;
        grep.start(u"grep"_s, {u"-rlsaF"_s, text,
                               QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
                               QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                               QStandardPaths::writableLocation(QStandardPaths::CacheLocation)});
        grep.waitForFinished();
        return QString::fromUtf8(grep.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QString error;
        QVERIFY2(m_service.startService(&error), qPrintable(error));
        RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, m_service.port());
        RVAccount::handleRefusedLogins();
    }

    void logoutLeavesOnlyTheName_data()
    {
        QTest::addColumn<bool>("byButton");
        QTest::newRow("the button") << true;
        QTest::newRow("saved password refused on a renewal") << false;
    }
    void logoutLeavesOnlyTheName()
    {
        QFETCH(bool, byButton);
        const QString name = byButton ? u"13912340001"_s : u"13912340002"_s;
        const QString password = u"pw-"_s + name, identity = u"330102199001011234"_s;
        const QString phone = u"1370000"_s + name.right(4), address = u"西湖区某路"_s + name;
        const auto user = RVProtocol().userRegister({{u"yhm"_s, name},
                                                     {u"mm"_s, password},
                                                     {u"xm"_s, u"测试用户"_s},
                                                     {u"sfzhm"_s, identity},
                                                     {u"sjhm"_s, phone},
                                                     {u"dz"_s, address}});
        QVERIFY(user && user->state());
        const QString key = RVLoginValues::dynamicKey(), yhid = RVBaseInfo::text(user->yhid());
        const auto booking = RVBaseInfo::fromDictionary<RVReservationInfo>(
            QJsonObject{{u"yylsh"_s, u"L1"_s}, {u"sfzhm"_s, identity}, {u"sjhm"_s, phone}});
        for (const QString &owner : {yhid, u"a user before"_s}) // who never logged out
            QVERIFY(RVBookingStore(owner).saveList({booking}));
        QVERIFY(!filesHolding(identity).isEmpty());
        if (byButton) {
            RVAccount::logout(RVAccount::Reason::UserAsked);
        } else { // the key and the password were changed on another device
            RVLoginValues::set(name, key.right(16) + key.left(32));
            platform::SecretStore::standard().setPassword(u"changed elsewhere"_s);
            RVProtocol().reserationHistoryListWithTime({}, yhid, phone);
        }
        QVERIFY(platform::SecretStore::standard().flush());
        QVERIFY(!RVAppConfigInfo::userLogined());
        QCOMPARE(RVAppConfigInfo().userInfo().body_dict(), QJsonObject({{u"yhm"_s, name}}));
        QCOMPARE(RVAppConfigInfo().password(), QString());
        for (const QString &personal :
             {identity, phone, password, key, address, u"changed elsewhere"_s})
            QTRY_COMPARE(filesHolding(personal), QStringList());
        QCOMPARE(filesHolding(name).size(), 1); // the configuration keeps the name alone
    }

    // The saved login is tried again only after a login that succeeded, and only with a password.
    void automaticLogin_data()
    {
        QTest::addColumn<bool>("lastLoginSuccess");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("logined");
        QTest::newRow("last login failed: no exchange") << false << u"secret1"_s << false;
        QTest::newRow("saved login accepted") << true << u"secret1"_s << true;
        QTest::newRow("saved login refused") << true << u"stale"_s << false;
        QTest::newRow("no saved password: no exchange") << true << QString() << false;
    }
    void automaticLogin()
    {
        QFETCH(bool, lastLoginSuccess);
        QFETCH(QString, password);
        RVUserInfo user;
        user.setYhm(u"13912340009"_s);
        RVProtocol().userRegister({{u"yhm"_s, user.yhm()}, // kept after the first row
                                   {u"mm"_s, u"secret1"_s},
                                   {u"xm"_s, u"李四"_s},
                                   {u"sfzhm"_s, u"330102199001011234"_s},
                                   {u"sjhm"_s, u"13700000009"_s}});
        RVAccount::logout(RVAccount::Reason::LoginRefused);
        {
            RVAppConfigInfo config; // saved as it goes
            config.setUserInfo(user);
            config.setPassword(password);
            config.setLastLoginSuccess(lastLoginSuccess);
        }
        QTEST(RVAccount::logInAgain(RVAccount::automaticLoginName()), "logined");
    }

    void keepNewPassword_data()
    {
        QTest::addColumn<QString>("savedId");
        QTest::addColumn<QString>("changedId");
        QTest::addColumn<QString>("newPassword");
        QTest::addColumn<QString>("kept");
        QTest::newRow("saved user changed it") << u"7"_s << u"7"_s << u"new123"_s << u"new123"_s;
        QTest::newRow("another user changed it") << u"7"_s << u"8"_s << u"new123"_s << u"old123"_s;
        QTest::newRow("no saved user") << QString() << u"7"_s << u"new123"_s << u"old123"_s;
        QTest::newRow("no user id") << u"7"_s << QString() << u"new123"_s << u"old123"_s;
    }
    void keepNewPassword()
    {
        QFETCH(QString, savedId);
        QFETCH(QString, changedId);
        QFETCH(QString, newPassword);
        QFETCH(QString, kept);
        RVAccount::logout(RVAccount::Reason::LoginRefused);
        {
            RVAppConfigInfo config;
            RVUserInfo user;
            user.setYhid(RVBaseInfo::valueOf(savedId));
            config.setUserInfo(user);
            config.setPassword(u"old123"_s);
        }
        QCOMPARE(RVAccount::keepNewPassword(changedId, newPassword), kept == newPassword);
        QCOMPARE(RVAppConfigInfo().password(), kept);
    }
};

QTEST_GUILESS_MAIN(TestRVAccount)
#include "tst_rvaccount.moc"
