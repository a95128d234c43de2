// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvappconfiginfo.h"
#include "screenfixture.h"
#include "screens/account/rvloginviewcontroller.h"
#include "screens/home/rvmainviewcontroller.h"
#include "screentestservice.h"
#include "toolkit/alertview.h"
#include "toolkit/button.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/navigationitem.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"
#include "toolkit/textfield.h"

#include <QLineEdit>
#include <QPointer>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRVLoginViewController : public QObject
{
    Q_OBJECT

private:
    RVLoginViewController *openLogin(ScreenFixture &app)
    {
        app.launch();
        auto *home =
            static_cast<RVMainViewController *>(app.navigation()->viewControllers().first().get());
        home->contentButtonClick(4);
        return qobject_cast<RVLoginViewController *>(app.navigation()->topViewController());
    }
    static ui::TextField *field(RVLoginViewController *login, int row)
    {
        ui::TableViewCell *cell = login->tableView()->cellForRowAtIndexPath({0, row});
        return cell != nullptr ? qobject_cast<ui::TextField *>(cell->accessoryView()) : nullptr;
    }
    static void type(ui::TextField *field, const QString &text)
    {
        field->lineEdit()->clear();
        QTest::keyClicks(field->lineEdit(), text);
    }
    // Types into both rows as a user would and presses the login button.
    static void submit(RVLoginViewController *login, const QString &name, const QString &password)
    {
        type(field(login, 0), name);
        type(field(login, 1), password);
        login->loginButton()->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
    }

private Q_SLOTS:
    void init() { ScreenFixture::forgetLogin(); }

    void checksInOrder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        QTest::newRow("both empty asks for the name only")
            << QString() << QString() << u"请填写用户名"_s;
        QTest::newRow("name missing") << QString() << u"right"_s << u"请填写用户名"_s;
        QTest::newRow("password missing") << u"li"_s << QString() << u"请填写密码"_s;
    }
    void checksInOrder()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(QString, message);
        ScreenTestService service;
        ScreenFixture app;
        RVLoginViewController *login = openLogin(app);
        QVERIFY(login);
        QCOMPARE(field(login, 0)->placeholder(), u"帐户"_s);
        submit(login, name, password);
        ui::AlertView *alert = ScreenFixture::visibleAlert();
        QVERIFY(alert);
        QCOMPARE(alert->title(), QString());
        QCOMPARE(alert->message(), message);
        QCOMPARE(alert->buttonTitleAtIndex(0), u"确定"_s);
        QCOMPARE(service.logins(), 0);
    }

    void refusedLoginStays()
    {
        ScreenTestService service;
        ScreenFixture app;
        RVLoginViewController *login = openLogin(app);
        QVERIFY(login);
        submit(login, u"li"_s, u"wrong"_s);
        QTRY_VERIFY(ScreenFixture::visibleAlert() != nullptr);
        QCOMPARE(ScreenFixture::visibleAlert()->title(), u"登录失败"_s);
        QCOMPARE(ScreenFixture::visibleAlert()->message(), u"密码错误"_s);
        QCOMPARE(app.navigation()->topViewController(), login);
        QCOMPARE(field(login, 1)->text(), u"wrong"_s);
        QVERIFY(!RVAppConfigInfo::userLogined());
    }

    void acceptedLoginPopsAndGreets()
    {
        ScreenTestService service;
        ScreenFixture app;
        RVLoginViewController *login = openLogin(app);
        QVERIFY(login);
        submit(login, u"li"_s, u"right"_s);
        QTRY_COMPARE(app.navigation()->viewControllers().size(), 1);
        QCOMPARE(ScreenFixture::tipText(app.navigation()), u"登录成功"_s);
        QVERIFY(!ScreenFixture::visibleAlert());
        auto *home = static_cast<RVMainViewController *>(app.navigation()->topViewController());
        QCOMPARE(home->statusButton()->titleForState(ui::ControlState::Normal),
                 u"欢迎您：李四，进入个人中心！"_s);
        QCOMPARE(service.lastLoginName(), u"li"_s);
    }

    void savedNameIsOfferedAndSent()
    {
        ScreenTestService service;
        {
            RVUserInfo saved;
            saved.setYhm(u"li"_s);
            RVAppConfigInfo config;
            config.setUserInfo(saved);
        }
        ScreenFixture app;
        RVLoginViewController *login = openLogin(app);
        QVERIFY(login);
        QCOMPARE(field(login, 0)->text(), u"li"_s);
        QVERIFY(field(login, 1)->text().isEmpty());
        QVERIFY(field(login, 1)->isSecureTextEntry());
        type(field(login, 1), u"right"_s);
        login->loginButton()->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
        QTRY_COMPARE(service.logins(), 1);
        QCOMPARE(service.lastLoginName(), u"li"_s);
    }

    void homeButtonNeedsThreeScreens()
    {
        ScreenTestService service;
        ScreenFixture app;
        RVLoginViewController *login = openLogin(app);
        QVERIFY(login);
        QVERIFY(!login->navigationItem()->rightBarButtonItem());
        QCOMPARE(app.navigation()->navigationBar()->backItem()->backBarButtonItem()->title(),
                 u"返回"_s);

        // The hospital list stands in for any screen that can open the login.
        auto *home =
            static_cast<RVMainViewController *>(app.navigation()->viewControllers().first().get());
        app.navigation()->popToRootViewControllerAnimated(false);
        home->contentButtonClick(0);
        auto deeper = std::make_shared<RVLoginViewController>();
        app.navigation()->pushViewController(deeper, false);
        QCOMPARE(app.navigation()->viewControllers().size(), 3);
        const auto homeButton = deeper->navigationItem()->rightBarButtonItem();
        QVERIFY(homeButton);
        QCOMPARE(homeButton->title(), u"主页"_s);
        homeButton->trigger();
        QTRY_COMPARE(app.navigation()->viewControllers().size(), 1);
    }
    void outcomeAfterTheUserWentBack_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("logined");
        QTest::newRow("refused: no alert over the home screen") << u"wrong"_s << false;
        QTest::newRow("accepted: the home screen greets, nothing is popped") << u"right"_s << true;
    }

    // "返回" pressed while the login overlay is up: the outcome that comes later shows no
    // alert and pops nothing, and the home screen shows the login state as it now is.
    void outcomeAfterTheUserWentBack()
    {
        QFETCH(QString, password);
        QFETCH(bool, logined);
        ScreenTestService service;
        service.setLoginDelayMs(300);
        ScreenFixture app;
        QPointer<RVLoginViewController> login = openLogin(app);
        QVERIFY(login);
        submit(login, u"li"_s, password);
        QVERIFY(app.navigation()->popViewControllerAnimated(false));
        // The screen lives until its finish has run, then goes.
        QTRY_VERIFY(login.isNull());
        QCOMPARE(service.logins(), 1);
        QVERIFY(!ScreenFixture::visibleAlert());
        QCOMPARE(app.navigation()->viewControllers().size(), 1);
        QCOMPARE(RVAppConfigInfo::userLogined(), logined);
        auto *home = static_cast<RVMainViewController *>(app.navigation()->topViewController());
        QTRY_COMPARE(home->statusButton()->titleForState(ui::ControlState::Normal),
                     logined ? u"欢迎您：李四，进入个人中心！"_s : QString());
    }
};

QTEST_MAIN(TestRVLoginViewController)
#include "tst_rvloginviewcontroller.moc"
