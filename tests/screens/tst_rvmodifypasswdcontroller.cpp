// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "accountscreentesting.h"
#include "components/ztprogresshud.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvloginvalues.h"
#include "protocols/rvprotocol.h"
#include "screenfixture.h"
#include "screens/account/rvmodifypasswdcontroller.h"
#include "service/rvservicethread.h"
#include "toolkit/alertview.h"
#include "toolkit/button.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/tableview.h"
#include "toolkit/textfield.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace
{
const QString password = u"secret1"_s;
}

class TestRVModifyPasswdController : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<RVServiceThread> m_service;
    QString m_account;

    static RVModifyPasswdController *open(ScreenFixture &app)
    {
        if (!AccountScreenTesting::launchSettled(app))
            return nullptr;
        AccountScreenTesting::push(app.navigation(), u"personal"_s);
        return qobject_cast<RVModifyPasswdController *>(
            AccountScreenTesting::push(app.navigation(), u"modifyPasswd"_s));
    }
    static void submit(RVModifyPasswdController *screen, const QStringList &typed)
    {
        for (int row = 0; row < typed.size(); ++row)
            AccountScreenTesting::type(AccountScreenTesting::field(screen->tableView(), row),
                                       typed.at(row));
        screen->submitButton()->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
    }
    static QString overlayText(RVModifyPasswdController *screen)
    {
        const auto huds = ZtProgressHUD::allHUDsForView(screen->view());
        return huds.isEmpty() ? QString() : huds.first()->labelText();
    }

private Q_SLOTS:
    void initTestCase()
    {
        ScreenFixture::prepareOnce();
        QString error;
        m_service = AccountScreenTesting::startService(&error);
        QVERIFY2(m_service, qPrintable(error));
    }
    // Every test starts with a fresh account logged in with the password "secret1".
    void init()
    {
        ScreenFixture::forgetLogin();
        m_account = AccountScreenTesting::freshAccountName();
        QVERIFY(AccountScreenTesting::registerAndLogin(m_account, password).state());
    }

    void everyRowIsHidden()
    {
        ScreenFixture app;
        RVModifyPasswdController *screen = open(app);
        QVERIFY(screen);
        for (int row = 0; row < 3; ++row)
            QVERIFY(AccountScreenTesting::field(screen->tableView(), row)->isSecureTextEntry());
    }

    // Columns: what is typed as old, new and confirmation; the alert shown at once (none
    // when null); whether the change goes to the service; the service's answer then.
    void checksInOrder_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("sent");
        QTest::addColumn<QString>("answer");
        const QString incomplete = u"请把信息填完整"_s;
        const QString mismatch = u"两次输入的密码不同，请重新输入。"_s;
        // Checks and their order: tst_rvaccountchecks; here what the screen shows of them.
        QTest::newRow("nothing typed") << QStringList{} << incomplete << false << QString();
        QTest::newRow("confirmation differs")
            << QStringList{password, u"secret2"_s, u"secret3"_s} << mismatch << false << QString();
        QTest::newRow("new password is the old one: silent")
            << QStringList{password, password, password} << QString() << false << QString();
        QTest::newRow("one character is sent") << QStringList{password, u"z"_s, u"z"_s} << QString()
                                               << true << u"新密码必须6位数以上"_s;
        QTest::newRow("wrong old password is the service's to tell")
            << QStringList{u"guess99"_s, u"secret2"_s, u"secret2"_s} << QString() << true
            << u"原密码不正确"_s;
    }
    void checksInOrder()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        QFETCH(bool, sent);
        QFETCH(QString, answer);
        ScreenFixture app;
        RVModifyPasswdController *screen = open(app);
        QVERIFY(screen);
        submit(screen, typed);
        ui::AlertView *alert = ScreenFixture::visibleAlert();
        QCOMPARE(alert ? alert->message() : QString(), message);
        QCOMPARE(overlayText(screen), sent ? u"加载中"_s : QString());
        if (!sent)
            return;
        QTRY_VERIFY(ScreenFixture::visibleAlert() != nullptr);
        QCOMPARE(ScreenFixture::visibleAlert()->title(), QString());
        QCOMPARE(ScreenFixture::visibleAlert()->message(), answer);
        QCOMPARE(app.navigation()->topViewController(), screen);
        QCOMPARE(AccountScreenTesting::field(screen->tableView(), 1)->text(), typed.at(1));
        QCOMPARE(RVAppConfigInfo().password(), password);
    }

    void changeThenRestartLogsInWithTheNewPassword()
    {
        {
            ScreenFixture app;
            RVModifyPasswdController *screen = open(app);
            QVERIFY(screen);
            submit(screen, {password, u"secret2"_s, u"secret2"_s});
            QTRY_VERIFY(ScreenFixture::visibleAlert() != nullptr);
            QCOMPARE(ScreenFixture::visibleAlert()->message(), u"密码修改成功"_s);
            QCOMPARE(app.topIdentifier(), u"personal"_s);
        }
        QCOMPARE(RVAppConfigInfo().password(), u"secret2"_s);

        // A new start: nothing in memory, the home screen logs in with what was saved.
        RVAppConfigInfo::setUserLoginStats(false);
        RVLoginValues::clear();
        ScreenFixture restarted;
        restarted.launch();
        QTRY_VERIFY_WITH_TIMEOUT(RVAppConfigInfo::userLogined(), 10000);
        QVERIFY(!ScreenFixture::visibleAlert());
        const std::optional<RVUserInfo> old = RVProtocol().login(m_account, password);
        QVERIFY(old && !old->state());
    }
};

QTEST_MAIN(TestRVModifyPasswdController)
#include "tst_rvmodifypasswdcontroller.moc"
