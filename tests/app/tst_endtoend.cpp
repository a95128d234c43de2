// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// The application against the real stand-in service: what a newcomer does first.
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvprotocol.h"
#include "screenfixture.h"
#include "screens/account/rvloginviewcontroller.h"
#include "screens/home/rvmainviewcontroller.h"
#include "service/rvserviceseeder.h"
#include "service/rvservicethread.h"
#include "toolkit/alertview.h"
#include "toolkit/button.h"
#include "toolkit/image.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"
#include "toolkit/textfield.h"

#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

class TestEndToEnd : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<RVServiceThread> m_service;

    static void type(RVLoginViewController *login, int row, const QString &text)
    {
        auto *field = qobject_cast<ui::TextField *>(
            login->tableView()->cellForRowAtIndexPath({0, row})->accessoryView());
        QVERIFY(field);
        field->lineEdit()->clear();
        QTest::keyClicks(field->lineEdit(), text);
    }

private Q_SLOTS:
    void initTestCase()
    {
        ScreenFixture::prepareOnce();
        m_service = std::make_unique<RVServiceThread>();
        QString error;
        QVERIFY2(m_service->startService(&error), qPrintable(error));
        RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, m_service->port());
    }
    void init() { ScreenFixture::forgetLogin(); }

    void everyPictureOfTheScreensIsThere_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"main_ad1.png",
                                 "main_ad2.png",
                                 "user_unlogin_bg.png",
                                 "user_unlogin_bg_select.png",
                                 "index_nearhos_logo_unpressed.png",
                                 "index_nearhos_logo_pressed.png",
                                 "index_keshi_logo_unpressed.png",
                                 "index_keshi_logo_pressed.png",
                                 "index_doctor_logo_unpressed.png",
                                 "index_doctor_logo_pressed.png",
                                 "index_reghistory_logo_unpressed.png",
                                 "index_reghistory_logo_pressed.png",
                                 "index_personal_logo_unpressed.png",
                                 "index_personal_logo_pressed.png",
                                 "doctor_logo.png",
                                 "blueArrow.png",
                                 "hospital_photo.png",
                                 "detailHospital_addricon.png",
                                 "detailhospital_callicon.png",
                                 "image_view_right_select.png",
                                 "user_setting_select.png",
                                 "user_setting_unselect.png",
                                 "yuyue_full_btn_nor.png",
                                 "yuyue_quick_btn_nor.png",
                                 "yuyue_tingzhen_btn_nor.png"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void everyPictureOfTheScreensIsThere()
    {
        QFETCH(QString, name);
        const ui::Image picture = ui::Image::imageNamed(name);
        QVERIFY(!picture.isNull());
        QVERIFY(!picture.size().isEmpty());
    }

    void newcomerLogsInWithTheDemoAccount()
    {
        ScreenFixture app;
        app.launch();
        auto *home = static_cast<RVMainViewController *>(app.navigation()->topViewController());
        home->loginStatsButtonClieck(nullptr);
        auto *login = qobject_cast<RVLoginViewController *>(app.navigation()->topViewController());
        QVERIFY(login);
        type(login, 0, RVServiceSeeder::demoAccountName());
        type(login, 1, RVServiceSeeder::demoAccountPassword());
        login->loginButton()->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
        QTRY_COMPARE_WITH_TIMEOUT(app.navigation()->viewControllers().size(), 1, 10000);
        QVERIFY(RVAppConfigInfo::userLogined());
        QCOMPARE(home->statusButton()->titleForState(ui::ControlState::Normal),
                 u"欢迎您：张三，进入个人中心！"_s);

        // The next start logs in again by itself with what was saved.
        RVAppConfigInfo::setUserLoginStats(false);
        ScreenFixture restarted;
        restarted.launch();
        QTRY_VERIFY_WITH_TIMEOUT(RVAppConfigInfo::userLogined(), 10000);
    }

    void wrongPasswordShowsTheServiceMessage()
    {
        ScreenFixture app;
        app.launch();
        static_cast<RVMainViewController *>(app.navigation()->topViewController())
            ->loginStatsButtonClieck(nullptr);
        auto *login = qobject_cast<RVLoginViewController *>(app.navigation()->topViewController());
        QVERIFY(login);
        type(login, 0, RVServiceSeeder::demoAccountName());
        type(login, 1, u"not-the-password"_s);
        login->loginButton()->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
        QTRY_VERIFY_WITH_TIMEOUT(ScreenFixture::visibleAlert() != nullptr, 10000);
        QCOMPARE(ScreenFixture::visibleAlert()->title(), u"登录失败"_s);
        QVERIFY(!ScreenFixture::visibleAlert()->message().isEmpty());
        QCOMPARE(app.navigation()->topViewController(), login);
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
