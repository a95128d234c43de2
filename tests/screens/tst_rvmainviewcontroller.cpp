// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvprotocol.h"
#include "screenfixture.h"
#include "screens/home/rvmainviewcontroller.h"
#include "screentestservice.h"
#include "toolkit/alertview.h"
#include "toolkit/button.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/pagecontrol.h"
#include "toolkit/scrollview.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestRVMainViewController : public QObject
{
    Q_OBJECT

private:
    static RVMainViewController *home(ScreenFixture &app)
    {
        return static_cast<RVMainViewController *>(
            app.navigation()->viewControllers().first().get());
    }
    static void save(bool lastLoginSuccess, const QString &password)
    {
        RVUserInfo user;
        user.setYhm(u"li"_s);
        user.setXm(u"李四"_s);
        RVAppConfigInfo config;
        config.setUserInfo(user);
        config.setPassword(password);
        config.setLastLoginSuccess(lastLoginSuccess);
    }

private Q_SLOTS:
    void init() { ScreenFixture::forgetLogin(); }

    void automaticLogin_data()
    {
        QTest::addColumn<bool>("lastLoginSuccess");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("logins");
        QTest::addColumn<bool>("logined");
        QTest::addColumn<QString>("tip");
        QTest::newRow("last login failed: no exchange")
            << false << u"right"_s << 0 << false << QString();
        QTest::newRow("saved login accepted") << true << u"right"_s << 1 << true << QString();
        QTest::newRow("saved login refused") << true << u"stale"_s << 1 << false << u"登录失败"_s;
    }
    void automaticLogin()
    {
        QFETCH(bool, lastLoginSuccess);
        QFETCH(QString, password);
        QFETCH(int, logins);
        QFETCH(bool, logined);
        QFETCH(QString, tip);
        ScreenTestService service;
        save(lastLoginSuccess, password);
        ScreenFixture app;
        app.launch();
        // The home screen shows at once; the saved login finishes behind it.
        QTRY_COMPARE(service.logins(), logins);
        QTRY_COMPARE(RVAppConfigInfo::userLogined(), logined);
        QTRY_COMPARE(ScreenFixture::tipText(app.navigation()), tip);
        if (logins == 0) {
            QTest::qWait(200); // nothing may start late either
            QCOMPARE(service.logins(), 0);
        }
        ui::Button *button = home(app)->statusButton();
        if (logined) {
            QCOMPARE(service.lastLoginName(), u"li"_s);
            QTRY_COMPARE(button->titleForState(ui::ControlState::Normal),
                         u"欢迎您：李四，进入个人中心！"_s);
            QVERIFY(button->backgroundImageForState(ui::ControlState::Normal).isNull());
        } else {
            QVERIFY(button->titleForState(ui::ControlState::Normal).isEmpty());
            QVERIFY(!button->backgroundImageForState(ui::ControlState::Normal).isNull());
        }
    }

    // While the saved login waits for the service, the button says so and a tap does not open
    // the login screen; the outcome then shows without a new appearance.
    void buttonWhileAutomaticLoginWaits()
    {
        ScreenTestService service;
        service.setLoginDelayMs(600);
        save(true, u"right"_s);
        ScreenFixture app;
        app.launch();
        RVMainViewController *screen = home(app);
        QVERIFY(screen->automaticLoginRunning());
        ui::Button *button = screen->statusButton();
        QCOMPARE(button->titleForState(ui::ControlState::Normal),
                 RVMainViewController::automaticLoginTitle());
        button->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
        screen->contentButtonClick(4);
        QCOMPARE(app.navigation()->viewControllers().size(), 1);

        QTRY_COMPARE(button->titleForState(ui::ControlState::Normal),
                     u"欢迎您：李四，进入个人中心！"_s);
        QVERIFY(!screen->automaticLoginRunning());
        button->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
        QCOMPARE(app.topIdentifier(), u"personal"_s);
    }

    void historyWaitsForTheAutomaticLogin_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("alert");
        QTest::newRow("login accepted: history opens") << u"right"_s << QString();
        QTest::newRow("login refused: asked to log in") << u"stale"_s << u"请先登录"_s;
    }
    void historyWaitsForTheAutomaticLogin()
    {
        QFETCH(QString, password);
        QFETCH(QString, alert);
        ScreenTestService service;
        service.setLoginDelayMs(400);
        save(true, password);
        ScreenFixture app;
        app.launch();
        home(app)->contentButtonClick(3);
        QVERIFY(!ScreenFixture::visibleAlert());
        QTRY_VERIFY(!home(app)->automaticLoginRunning());
        QCOMPARE(app.navigation()->viewControllers().size(), alert.isEmpty() ? 2 : 1);
        ui::AlertView *shown = ScreenFixture::visibleAlert();
        QCOMPARE(shown ? shown->message() : QString(), alert);
    }

    void buttonFollowsTheState_data()
    {
        QTest::addColumn<bool>("from");
        QTest::addColumn<bool>("to");
        QTest::newRow("logged in by a login finishing late") << false << true;
        QTest::newRow("logged out elsewhere") << true << false;
    }

    // The home screen shows the state as it is whenever it changes, also while it is on top
    // and nothing appears anew.
    void buttonFollowsTheState()
    {
        QFETCH(bool, from);
        QFETCH(bool, to);
        ScreenTestService service;
        save(false, u"right"_s);
        RVAppConfigInfo::setUserLoginStats(from);
        ScreenFixture app;
        app.launch();
        ui::Button *button = home(app)->statusButton();
        const QString greeting = u"欢迎您：李四，进入个人中心！"_s;
        QCOMPARE(button->titleForState(ui::ControlState::Normal), from ? greeting : QString());
        if (to)
            RVAppConfigInfo::setUserLoginStats(true);
        else
            RVProtocol::create()->logout();
        QTRY_COMPARE(button->titleForState(ui::ControlState::Normal), to ? greeting : QString());
        QCOMPARE(button->backgroundImageForState(ui::ControlState::Normal).isNull(), to);
    }

    // One start without the service does not forget the saved login: only a refusal does.
    void unreachableServiceKeepsTheSavedLogin()
    {
        ScreenFixture::prepareOnce();
        {
            // A port that nobody listens on any more.
            ScreenTestService gone;
        }
        save(true, u"right"_s);
        ScreenFixture app;
        app.launch();
        QTRY_COMPARE(ScreenFixture::tipText(app.navigation()), u"登录失败"_s);
        QVERIFY(!home(app)->automaticLoginRunning());
        QVERIFY(!RVAppConfigInfo::userLogined());
        RVAppConfigInfo config;
        QVERIFY(config.lastLoginSuccess());
        QCOMPARE(config.password(), u"right"_s);
    }

    void gridActions_data()
    {
        QTest::addColumn<bool>("logined");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QString>("alert");
        QTest::newRow("hospitals") << false << 0 << u"hospitalList"_s << QString();
        QTest::newRow("departments") << false << 1 << u"departmentListMain"_s << QString();
        QTest::newRow("doctors") << false << 2 << u"doctorList"_s << QString();
        QTest::newRow("history logged out") << false << 3 << QString() << u"请先登录"_s;
        QTest::newRow("history logged in") << true << 3 << u"appointMent"_s << QString();
        QTest::newRow("account logged out") << false << 4 << u"login"_s << QString();
        QTest::newRow("account logged in") << true << 4 << u"personal"_s << QString();
        QTest::newRow("outside the grid") << true << 5 << QString() << QString();
        QTest::newRow("negative") << true << -1 << QString() << QString();
    }
    void gridActions()
    {
        QFETCH(bool, logined);
        QFETCH(int, index);
        QFETCH(QString, opened);
        QFETCH(QString, alert);
        ScreenTestService service;
        ScreenFixture app;
        app.launch();
        RVAppConfigInfo::setUserLoginStats(logined);
        home(app)->contentButtonClick(index);
        if (opened.isEmpty()) {
            QCOMPARE(app.navigation()->viewControllers().size(), 1);
        } else {
            QCOMPARE(app.navigation()->viewControllers().size(), 2);
            QCOMPARE(app.topIdentifier(), opened);
        }
        ui::AlertView *shown = ScreenFixture::visibleAlert();
        QCOMPARE(shown ? shown->message() : QString(), alert);
    }

    void advertStripTurnsOver()
    {
        ScreenTestService service;
        ScreenFixture app;
        app.launch();
        RVMainViewController *screen = home(app);
        QCOMPARE(screen->adScroller()->contentSize(), QSizeF(640, 130));
        screen->scrollScrollView(nullptr);
        QCOMPARE(screen->adPager()->currentPage(), 1);
        QTRY_COMPARE(screen->adScroller()->contentOffset().x(), 320.0);
        screen->scrollScrollView(nullptr);
        QCOMPARE(screen->adPager()->currentPage(), 0);
        QCOMPARE(screen->adScroller()->contentOffset().x(), 0.0);
    }

    void updateCheck_data()
    {
        QTest::addColumn<QString>("storeVersion");
        QTest::addColumn<bool>("offered");
        QTest::newRow("same version") << u"1.0.0"_s << false;
        QTest::newRow("newer") << u"1.1.0"_s << true;
    }
    void updateCheck()
    {
        QFETCH(QString, storeVersion);
        QFETCH(bool, offered);
        ScreenTestService service;
        service.setStoreVersion(storeVersion);
        ScreenFixture app;
        app.launch();
        home(app)->onCheckVersion(u"1.0.0"_s);
        QTRY_COMPARE(service.lookups(), 1);
        QVERIFY(service.lastLookupHeaders().toLower().contains(
            "content-type: application/x-www-form-urlencoded"));
        if (offered)
            QTRY_VERIFY(ScreenFixture::visibleAlert() != nullptr);
        else
            QTest::qWait(200); // the answer has come and gone without an alert
        ui::AlertView *alert = ScreenFixture::visibleAlert();
        QCOMPARE(alert != nullptr, offered);
        if (alert) {
            QCOMPARE(alert->title(), u"更新"_s);
            QCOMPARE(alert->buttonTitleAtIndex(0), u"关闭"_s);
            QCOMPARE(alert->buttonTitleAtIndex(1), u"更新"_s);
        }
    }
};

QTEST_MAIN(TestRVMainViewController)
#include "tst_rvmainviewcontroller.moc"
