// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "accountscreentesting.h"
#include "components/ztprogresshud.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvprotocol.h"
#include "screenfixture.h"
#include "screens/account/rvloginviewcontroller.h"
#include "screens/account/rvregisterviewcontroller.h"
#include "screens/home/rvmainviewcontroller.h"
#include "service/rvserviceseeder.h"
#include "service/rvservicethread.h"
#include "toolkit/alertview.h"
#include "toolkit/button.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/textfield.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace
{
// The seven rows in order: account, password, confirmation, name, identity, mobile, address.
using Form = QStringList;

Form validForm(const QString &account)
{
    return {account,          u"secret1"_s,     u"secret1"_s, u"赵六"_s, u"110101199003071234"_s,
            u"13800000000"_s, u"上海市黄浦区"_s};
}

Form with(Form form, int row, const QString &text)
{
    form[row] = text;
    return form;
}
} // namespace

class TestRVRegisterViewController : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<RVServiceThread> m_service;

    // The way a user gets here: the home screen's account entry, then "注册新用户".
    static RVRegisterViewController *openRegister(ScreenFixture &app)
    {
        app.launch();
        static_cast<RVMainViewController *>(app.navigation()->topViewController())
            ->loginStatsButtonClieck(nullptr);
        auto *login = qobject_cast<RVLoginViewController *>(app.navigation()->topViewController());
        if (login == nullptr)
            return nullptr;
        for (ui::Button *button : login->view()->findChildren<ui::Button *>()) {
            if (button->titleForState(ui::ControlState::Normal) == u"注册新用户")
                button->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
        }
        return qobject_cast<RVRegisterViewController *>(app.navigation()->topViewController());
    }
    static void fill(RVRegisterViewController *screen, const Form &form)
    {
        for (int row = 0; row < form.size(); ++row)
            AccountScreenTesting::type(AccountScreenTesting::field(screen->tableView(), row),
                                       form.at(row));
    }
    static void submit(RVRegisterViewController *screen, const Form &form)
    {
        fill(screen, form);
        screen->registerButton()->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
    }
    static QString overlayText(RVRegisterViewController *screen)
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
    void init() { ScreenFixture::forgetLogin(); }
    void cleanup() { RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, m_service->port()); }

    void isPureInt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("whole");
        QTest::newRow("eleven digits, beyond any int") << u"13800000000"_s << true;
        QTest::newRow("twenty digits") << u"99999999999999999999"_s << true;
        QTest::newRow("leading blank and ten digits") << u" 1234567890"_s << true;
        QTest::newRow("leading tab and line feed") << u"\t\n42"_s << true;
        QTest::newRow("plus sign") << u"+5"_s << true;
        QTest::newRow("minus sign") << u"-5"_s << true;
        QTest::newRow("single zero") << u"0"_s << true;
        QTest::newRow("ten digits and a letter") << u"1234567890a"_s << false;
        QTest::newRow("trailing blank") << u"123 "_s << false;
        QTest::newRow("blank inside") << u"12 34"_s << false;
        QTest::newRow("sign alone") << u"+"_s << false;
        QTest::newRow("two signs") << u"+-5"_s << false;
        QTest::newRow("blank after the sign") << u"- 5"_s << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("blanks only") << u"   "_s << false;
        QTest::newRow("decimal point") << u"1.5"_s << false;
        QTest::newRow("full-width digits") << u"１２３"_s << false;
    }
    void isPureInt()
    {
        QFETCH(QString, text);
        QFETCH(bool, whole);
        QCOMPARE(RVRegisterViewController::isPureInt(text), whole);
    }

    void checksInOrder_data()
    {
        QTest::addColumn<Form>("form");
        QTest::addColumn<QString>("message");
        const Form valid = validForm(u"checks"_s);
        // Checks and their order: tst_rvaccountchecks; here what the screen shows of them.
        const QString incomplete = u"请把信息填完整"_s;
        const QString tooShort = u"密码必须6位数以上"_s;
        QTest::newRow("nothing typed") << Form(7) << incomplete;
        QTest::newRow("equal passwords of 5")
            << with(with(valid, 1, u"12345"_s), 2, u"12345"_s) << tooShort;
    }
    void checksInOrder()
    {
        QFETCH(Form, form);
        QFETCH(QString, message);
        ScreenFixture app;
        RVRegisterViewController *screen = openRegister(app);
        QVERIFY(screen);
        submit(screen, form);
        ui::AlertView *alert = ScreenFixture::visibleAlert();
        QVERIFY(alert);
        QCOMPARE(alert->title(), QString());
        QCOMPARE(alert->message(), message);
        QCOMPARE(alert->numberOfButtons(), 1);
        QCOMPARE(alert->buttonTitleAtIndex(0), u"确定"_s);
        QCOMPARE(overlayText(screen), QString()); // nothing was sent
        QCOMPARE(app.navigation()->topViewController(), screen);
    }

    void passwordsHiddenAndButtonClearOfTheRows()
    {
        ScreenFixture app;
        RVRegisterViewController *screen = openRegister(app);
        QVERIFY(screen);
        for (int row = 0; row < 7; ++row)
            QCOMPARE(AccountScreenTesting::field(screen->tableView(), row)->isSecureTextEntry(),
                     row == 1 || row == 2);
        QVERIFY(screen->registerButton()->frame().top() >=
                screen->tableView()->rectForRowAtIndexPath({0, 6}).bottom());
    }

    void inputThatPassesIsSent_data()
    {
        QTest::addColumn<Form>("form");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("passwords of exactly 6")
            << with(with(validForm({}), 1, u"123456"_s), 2, u"123456"_s) << QString();
        QTest::newRow("identity ending in a letter")
            << with(validForm({}), 4, u"11010119900307123X"_s) << QString();
        // Passes on the device; the service wants eleven digits and says so.
        QTest::newRow("mobile with a leading blank")
            << with(validForm({}), 5, u" 1380000000"_s) << u"请输入正确的手机号码"_s;
    }
    void inputThatPassesIsSent()
    {
        QFETCH(Form, form);
        QFETCH(QString, refusal);
        form[0] = AccountScreenTesting::freshAccountName();
        ScreenFixture app;
        RVRegisterViewController *screen = openRegister(app);
        QVERIFY(screen);
        submit(screen, form);
        QCOMPARE(overlayText(screen), u"注册中"_s);
        if (refusal.isNull()) {
            QTRY_COMPARE(app.navigation()->viewControllers().size(), 1);
            QVERIFY(RVAppConfigInfo::userLogined());
        } else {
            QTRY_VERIFY(ScreenFixture::visibleAlert() != nullptr);
            QCOMPARE(ScreenFixture::visibleAlert()->message(), refusal);
            QCOMPARE(app.navigation()->topViewController(), screen);
        }
    }

    void registrationIsGreetedAndStored()
    {
        const QString account = AccountScreenTesting::freshAccountName();
        ScreenFixture app;
        RVRegisterViewController *screen = openRegister(app);
        QVERIFY(screen);
        submit(screen, validForm(account));
        QTRY_COMPARE(app.navigation()->viewControllers().size(), 1);
        QVERIFY(!ScreenFixture::visibleAlert());
        auto *home = static_cast<RVMainViewController *>(app.navigation()->topViewController());
        QCOMPARE(home->statusButton()->titleForState(ui::ControlState::Normal),
                 u"欢迎您：赵六，进入个人中心！"_s);

        // Recorded on the device as the logged-in user, sex and birth date from the identity.
        const RVUserInfo saved = RVAppConfigInfo().userInfo();
        QCOMPARE(RVBaseInfo::text(saved.yhm()), account);
        QCOMPARE(saved.xb(), 1);
        QCOMPARE(RVBaseInfo::text(saved.csny()), u"1990-03-07"_s);
        QVERIFY(!RVBaseInfo::text(saved.yhid()).isEmpty());

        // Stored by the service: the account logs in with its password.
        const std::optional<RVUserInfo> login = RVProtocol().login(account, u"secret1"_s);
        QVERIFY(login && login->state());
        QCOMPARE(RVBaseInfo::text(login->dz()), u"上海市黄浦区"_s);
        QCOMPARE(RVBaseInfo::text(login->sjhm()), u"13800000000"_s);
    }

    void refusalKeepsEveryField()
    {
        const Form form = validForm(RVServiceSeeder::demoAccountName());
        ScreenFixture app;
        RVRegisterViewController *screen = openRegister(app);
        QVERIFY(screen);
        submit(screen, form);
        QTRY_VERIFY(ScreenFixture::visibleAlert() != nullptr);
        QCOMPARE(ScreenFixture::visibleAlert()->title(), QString());
        QCOMPARE(ScreenFixture::visibleAlert()->message(), u"该帐户名已被注册"_s);
        QCOMPARE(app.navigation()->topViewController(), screen);
        QVERIFY(!RVAppConfigInfo::userLogined());
        for (int row = 0; row < form.size(); ++row)
            QCOMPARE(AccountScreenTesting::field(screen->tableView(), row)->text(), form.at(row));
    }

    void unreachableServiceLeavesTheWindowResponsive()
    {
        RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, 1);
        ScreenFixture app;
        RVRegisterViewController *screen = openRegister(app);
        QVERIFY(screen);
        submit(screen, validForm(AccountScreenTesting::freshAccountName()));
        // The press returned at once with the overlay up; the failure arrives later.
        QCOMPARE(overlayText(screen), u"注册中"_s);
        QVERIFY(!ScreenFixture::visibleAlert());
        QTRY_VERIFY(ScreenFixture::visibleAlert() != nullptr);
        QVERIFY(!ScreenFixture::visibleAlert()->message().isEmpty());
        QCOMPARE(app.navigation()->topViewController(), screen);
        QTRY_COMPARE(overlayText(screen), QString());
    }

    void goingBackDuringTheExchange()
    {
        ScreenFixture app;
        RVRegisterViewController *screen = openRegister(app);
        QVERIFY(screen);
        submit(screen, validForm(AccountScreenTesting::freshAccountName()));
        app.navigation()->popViewControllerAnimated(false);
        // The registration still counts, but the screen that left neither alerts nor pops.
        QTRY_VERIFY(RVAppConfigInfo::userLogined());
        QTest::qWait(100);
        QVERIFY(!ScreenFixture::visibleAlert());
        QCOMPARE(app.navigation()->viewControllers().size(), 2);
        QCOMPARE(app.topIdentifier(), u"login"_s);
    }
};

QTEST_MAIN(TestRVRegisterViewController)
#include "tst_rvregisterviewcontroller.moc"
