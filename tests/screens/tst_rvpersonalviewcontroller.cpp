// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "accountscreentesting.h"
#include "components/rvmarkuplabel.h"
#include "models/rvbookingstore.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvprotocol.h"
#include "screenfixture.h"
#include "screens/account/rvpersonalviewcontroller.h"
#include "screens/account/rvwatchlistviewcontroller.h"
#include "screens/home/rvmainviewcontroller.h"
#include "service/rvservicethread.h"
#include "toolkit/button.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRVPersonalViewController : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<RVServiceThread> m_service;

    static void saveUser(const QJsonValue &xm, const QJsonValue &sjhm)
    {
        RVUserInfo user;
        user.setYhm(u"li"_s);
        user.setXm(xm);
        user.setSjhm(sjhm);
        RVAppConfigInfo().setUserInfo(user);
    }
    // Logged in, the home screen's account entry opens the personal centre.
    static RVPersonalViewController *openPersonal(ScreenFixture &app)
    {
        RVAppConfigInfo::setUserLoginStats(true);
        if (!AccountScreenTesting::launchSettled(app))
            return nullptr;
        return enterPersonal(app);
    }
    static RVPersonalViewController *enterPersonal(ScreenFixture &app)
    {
        static_cast<RVMainViewController *>(app.navigation()->topViewController())
            ->contentButtonClick(4);
        return qobject_cast<RVPersonalViewController *>(app.navigation()->topViewController());
    }
    // The texts the card draws in blue, in order.
    static QStringList blueTexts(const RVMarkupLabel *label)
    {
        QStringList texts;
        for (const RVMarkupComponent &component : label->textComponents()) {
            if (component.attributes().value(u"color"_s) == u"blue")
                texts.append(component.text().value_or(u"(open)"_s));
        }
        return texts;
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

    void card_data()
    {
        QTest::addColumn<QJsonValue>("xm");
        QTest::addColumn<QJsonValue>("sjhm");
        QTest::addColumn<QString>("plainText");
        QTest::addColumn<QStringList>("blue");
        const QJsonValue absent(QJsonValue::Undefined);
        QTest::newRow("saved user")
            << QJsonValue(u"李四"_s) << QJsonValue(u"13800000000"_s)
            << u"姓名：李四\n电话：13800000000"_s << QStringList{u"李四"_s, u"13800000000"_s};
        QTest::newRow("nothing saved")
            << absent << absent << u"姓名：\n电话："_s << QStringList{QString(), QString()};
        QTest::newRow("name holding a bold tag")
            << QJsonValue(u"<b>王</b>五"_s) << QJsonValue(u"1"_s) << u"姓名：<b>王</b>五\n电话：1"_s
            << QStringList{u"<b>王</b>五"_s, u"1"_s};
        QTest::newRow("brackets the wrong way round")
            << QJsonValue(u"a>b<c"_s) << absent << u"姓名：a>b<c\n电话："_s
            << QStringList{u"a>b<c"_s, QString()};
        QTest::newRow("number kept as a number")
            << QJsonValue(u"李四"_s) << QJsonValue(13800000000.0)
            << u"姓名：李四\n电话：13800000000"_s << QStringList{u"李四"_s, u"13800000000"_s};
        QTest::newRow("eleven-character name on one line")
            << QJsonValue(u"欧阳司马长名字十一字甲"_s) << QJsonValue(u"13800001111"_s)
            << u"姓名：欧阳司马长名字十一字甲\n电话：13800001111"_s
            << QStringList{u"欧阳司马长名字十一字甲"_s, u"13800001111"_s};
        QTest::newRow("placeholder-like name stays")
            << QJsonValue(u"%2"_s) << QJsonValue(u"9"_s) << u"姓名：%2\n电话：9"_s
            << QStringList{u"%2"_s, u"9"_s};
    }
    void card()
    {
        QFETCH(QJsonValue, xm);
        QFETCH(QJsonValue, sjhm);
        QFETCH(QString, plainText);
        QFETCH(QStringList, blue);
        saveUser(xm, sjhm);
        ScreenFixture app;
        RVPersonalViewController *screen = openPersonal(app);
        QVERIFY(screen);
        RVMarkupLabel *label = screen->cardLabel();
        QVERIFY(label);
        QCOMPARE(label->plainText(), plainText);
        QCOMPARE(blueTexts(label), blue);
        // Only the card's own tags styled anything.
        for (const RVMarkupComponent &component : label->textComponents())
            QVERIFY2(component.tagLabel() == u"p" || component.tagLabel() == u"font",
                     qPrintable(component.tagLabel()));
        QCOMPARE(label->geometry(), QRect(85, 15, 225, 60));
        QVERIFY(label->optimumSize().height() <= label->height());
        QCOMPARE(screen->infoTable()->rectForRowAtIndexPath({0, 0}).height(), 80.0);
    }

    void entries_data()
    {
        QTest::addColumn<int>("table");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("opened");
        QTest::newRow("card opens nothing") << 0 << 0 << QString();
        QTest::newRow("profile") << 1 << 0 << u"modifyUserInfo"_s;
        QTest::newRow("password") << 1 << 1 << u"modifyPasswd"_s;
        QTest::newRow("booking history") << 2 << 0 << u"appointMent"_s;
        QTest::newRow("watches") << 2 << 1 << u"watchList"_s;
    }
    void entries()
    {
        QFETCH(int, table);
        QFETCH(int, row);
        QFETCH(QString, opened);
        ScreenFixture app;
        RVPersonalViewController *screen = openPersonal(app);
        QVERIFY(screen);
        ui::TableView *tables[] = {screen->infoTable(), screen->settingTable(),
                                   screen->otherTable()};
        tables[table]->tapRowAtIndexPath({0, row});
        QVERIFY(!tables[table]->indexPathForSelectedRow().has_value());
        if (opened.isEmpty()) {
            QCOMPARE(app.navigation()->topViewController(), screen);
        } else {
            QCOMPARE(app.navigation()->viewControllers().size(), 3);
            QCOMPARE(app.topIdentifier(), opened);
        }
    }

    // The watch list shows the user's watches; a swipe removes one from the device.
    void watchListRemovesAWatch()
    {
        RVUserInfo user;
        user.setYhid(u"41"_s);
        RVAppConfigInfo().setUserInfo(user);
        const RVBookingStore store(u"41"_s);
        QVERIFY(RVBookingStore::remove(u"41"_s));
        RVDoctorInfo doctor;
        doctor.setYsmc(u"王医生"_s);
        RVDoctorScheduleInfo half;
        half.setJzrq(u"2026-05-09"_s);
        half.setBcbm(2);
        QCOMPARE(store.addWatch({doctor, half}), RVWatch::Added::Added);
        ScreenFixture app;
        QVERIFY(openPersonal(app));
        static_cast<RVPersonalViewController *>(app.navigation()->topViewController())
            ->otherTable()
            ->tapRowAtIndexPath({0, 1});
        auto *list =
            qobject_cast<RVWatchListViewController *>(app.navigation()->topViewController());
        QVERIFY(list);
        QTRY_COMPARE(list->tableView()->numberOfRowsInSection(0), 1);
        ui::TableViewCell *row = list->tableView()->cellForRowAtIndexPath({0, 0});
        QCOMPARE(row->detailTextLabel()->text(), u"2026-05-09 下午"_s);
        QVERIFY(list->emptyNotice()->isHidden());
        list->commitEditingStyle(list->tableView(), ui::TableViewCellEditingStyle::Delete, {0, 0});
        QTRY_VERIFY(!list->emptyNotice()->isHidden());
        QVERIFY(store.watches().isEmpty());
        QCOMPARE(list->tableView()->numberOfRowsInSection(0), 0);
    }

    void logoutReturnsHomeLoggedOut_data()
    {
        QTest::addColumn<bool>("serviceReachable");
        QTest::newRow("service running") << true;
        QTest::newRow("service unreachable") << false;
    }
    void logoutReturnsHomeLoggedOut()
    {
        QFETCH(bool, serviceReachable);
        const QString account = AccountScreenTesting::freshAccountName();
        AccountScreenTesting::registerAndLogin(account, u"secret1"_s);
        QVERIFY(RVAppConfigInfo::userLogined());
        ScreenFixture app;
        QVERIFY(AccountScreenTesting::launchSettled(app));
        if (!serviceReachable)
            RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, 1);
        RVPersonalViewController *screen = enterPersonal(app);
        QVERIFY(screen);
        const RVBookingStore kept(RVBaseInfo::text(RVAppConfigInfo().userInfo().yhid()));
        QVERIFY(kept.saveList({}));
        screen->exitLoginButton()->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
        QTRY_VERIFY(!QFile::exists(kept.filePath())); // the user's kept bookings go with the login
        // Back home at once, without waiting for the service.
        QCOMPARE(app.navigation()->viewControllers().size(), 1);
        QVERIFY(!RVAppConfigInfo::userLogined());
        auto *home = static_cast<RVMainViewController *>(app.navigation()->topViewController());
        QTRY_VERIFY(home->statusButton()->titleForState(ui::ControlState::Normal).isEmpty());
        const RVAppConfigInfo saved;
        QVERIFY(!saved.lastLoginSuccess());
        QCOMPARE(saved.password(), QString());
        QCOMPARE(saved.userInfo().body_dict(), QJsonObject({{u"yhm"_s, account}}));
        QTest::qWait(300); // the exchange ends behind the home screen without a word
        QCOMPARE(app.navigation()->viewControllers().size(), 1);
        QVERIFY(!ScreenFixture::visibleAlert());
    }
};

QTEST_MAIN(TestRVPersonalViewController)
#include "tst_rvpersonalviewcontroller.moc"
