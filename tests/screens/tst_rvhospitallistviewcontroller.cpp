// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "browsingtestservice.h"
#include "protocols/rvprotocol.h"
#include "screenfixture.h"
#include "screens/browse/rvhospitalinfoviewcontroller.h"
#include "screens/browse/rvhospitallistviewcontroller.h"
#include "screens/home/rvmainviewcontroller.h"
#include "service/rvservicedemodata.h"
#include "service/rvservicethread.h"
#include "toolkit/alertview.h"
#include "toolkit/font.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/tableviewcell.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestRVHospitalListViewController : public QObject
{
    Q_OBJECT

private:
    static QJsonArray hospitals()
    {
        return {QJsonObject{{u"hospid"_s, u"H1"_s}, {u"yyjc"_s, u"一院"_s}},
                QJsonObject{{u"hospid"_s, u"H2"_s}, {u"yyjc"_s, u"二院"_s}},
                QJsonObject{{u"hospid"_s, u"H3"_s}, {u"yyjc"_s, u"三院"_s}}};
    }
    // The home screen's first entry, as a user opens it.
    static RVHospitalListViewController *open(ScreenFixture &app)
    {
        app.launch();
        auto *home =
            static_cast<RVMainViewController *>(app.navigation()->viewControllers().first().get());
        home->contentButtonClick(0);
        return qobject_cast<RVHospitalListViewController *>(app.navigation()->topViewController());
    }
    // Leaves the list for another screen and comes back to it.
    static void appearAgain(ScreenFixture &app)
    {
        app.navigation()->pushViewController(ui::ViewController::create<StandInScreen>(u"other"_s),
                                             false);
        app.navigation()->popViewControllerAnimated(false);
    }
    static QStringList rowTexts(RVHospitalListViewController *list)
    {
        QStringList texts;
        for (int row = 0; row < list->tableView()->numberOfRowsInSection(0); ++row) {
            ui::TableViewCell *cell = list->tableView()->cellForRowAtIndexPath({0, row});
            texts << (cell ? cell->textLabel()->text() : u"<no cell>"_s);
        }
        return texts;
    }

private Q_SLOTS:
    void init() { ScreenFixture::forgetLogin(); }

    void showsTheServicesHospitals()
    {
        RVServiceThread service;
        QString error;
        QVERIFY2(service.startService(&error), qPrintable(error));
        RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, service.port());
        ScreenFixture app;
        RVHospitalListViewController *list = open(app);
        QVERIFY(list);
        QCOMPARE(list->title(), u"医院查询"_s);
        const auto expected = RVServiceDemoData::hospitals();
        QTRY_COMPARE(list->tableView()->numberOfRowsInSection(0), int(expected.size()));
        QStringList names;
        for (const auto &hospital : expected)
            names << hospital.yyjc;
        const QStringList shown = rowTexts(list);
        QCOMPARE(shown.mid(0, 4), names.mid(0, 4)); // the rows in sight
        ui::TableViewCell *first = list->tableView()->cellForRowAtIndexPath({0, 0});
        QVERIFY(first->textLabel()->font().bold());
        QCOMPARE(ui::Font::pointSize(first->textLabel()->font()), 18.0);
        QCOMPARE(first->tag(), 1);
        QVERIFY(!ScreenFixture::visibleAlert());
    }

    void loadsOncePerScreen()
    {
        BrowsingTestService service;
        service.setList(u"B001"_s, hospitals());
        ScreenFixture app;
        RVHospitalListViewController *list = open(app);
        QVERIFY(list);
        QTRY_COMPARE(list->tableView()->numberOfRowsInSection(0), 3);
        QCOMPARE(rowTexts(list), QStringList({u"一院"_s, u"二院"_s, u"三院"_s}));
        appearAgain(app);
        QTest::qWait(50);
        QCOMPARE(service.calls(u"B001"_s).size(), 1);
        // All hospitals: no name is sent.
        QVERIFY(!service.calls(u"B001"_s).first().body.contains(u"yymc"_s));
    }

    void tapPushesTheDetailWithHospid_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("hospid");
        QTest::newRow("first row") << 0 << u"H1"_s;
        QTest::newRow("last row") << 2 << u"H3"_s;
    }
    void tapPushesTheDetailWithHospid()
    {
        QFETCH(int, row);
        QFETCH(QString, hospid);
        BrowsingTestService service;
        QJsonArray items = hospitals();
        // A hospital code the list would carry if the service sent one; never the identifier.
        for (auto item : items) {
            QJsonObject object = item.toObject();
            object.insert(u"yydm"_s, QString(u"code-"_s + object.value(u"hospid"_s).toString()));
            item = object;
        }
        service.setList(u"B001"_s, items);
        ScreenFixture app;
        RVHospitalListViewController *list = open(app);
        QVERIFY(list);
        QTRY_COMPARE(list->tableView()->numberOfRowsInSection(0), 3);
        list->tableView()->tapRowAtIndexPath({0, row});
        auto *detail =
            qobject_cast<RVHospitalInfoViewController *>(app.navigation()->topViewController());
        QVERIFY(detail);
        QCOMPARE(detail->hospitalCode(), hospid);
        QVERIFY(!list->tableView()->indexPathForSelectedRow());
        QTRY_COMPARE(service.calls(u"B002"_s).size(), 1);
        QCOMPARE(service.calls(u"B002"_s).first().body.value(u"hospid"_s).toString(), hospid);
    }

    void failedLoadAlertsAndLoadsAgain_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("message");
        QTest::newRow("service refuses") << false << u"系统维护中"_s;
        QTest::newRow("connection refused") << true << QString();
    }
    void failedLoadAlertsAndLoadsAgain()
    {
        QFETCH(bool, refused);
        QFETCH(QString, message);
        BrowsingTestService service;
        service.setAnswer(u"B001"_s, [message](const BrowsingTestService::Call &) {
            return BrowsingTestService::failure(message);
        });
        service.refuseConnections(refused);
        ScreenFixture app;
        RVHospitalListViewController *list = open(app);
        QVERIFY(list);
        QTRY_VERIFY(ScreenFixture::visibleAlert());
        ui::AlertView *alert = ScreenFixture::visibleAlert();
        QCOMPARE(alert->title(), QString());
        QCOMPARE(alert->buttonTitleAtIndex(0), u"确定"_s);
        QVERIFY(!list->lastLoad().httpStats);
        // The client's own words, unchanged; a refused connection has a message too.
        QCOMPARE(alert->message(), list->lastLoad().httpErrorMessage);
        QVERIFY(!alert->message().isEmpty());
        if (!refused)
            QCOMPARE(alert->message(), message);
        QCOMPARE(list->tableView()->numberOfRowsInSection(0), 0);
        alert->clickButtonAtIndex(0);

        service.refuseConnections(false);
        service.setList(u"B001"_s, hospitals());
        appearAgain(app);
        QTRY_COMPARE(list->tableView()->numberOfRowsInSection(0), 3);
        QVERIFY(!ScreenFixture::visibleAlert());
    }

    void emptySuccessShowsNothingAndLoadsAgain()
    {
        BrowsingTestService service;
        service.setList(u"B001"_s, {});
        ScreenFixture app;
        RVHospitalListViewController *list = open(app);
        QVERIFY(list);
        QTRY_COMPARE(service.calls(u"B001"_s).size(), 1);
        QTRY_VERIFY(list->lastLoad().httpStats);
        QCOMPARE(list->tableView()->numberOfRowsInSection(0), 0);
        QVERIFY(!ScreenFixture::visibleAlert());
        appearAgain(app);
        QTRY_COMPARE(service.calls(u"B001"_s).size(), 2);
    }

    void failureAfterLeavingDoesNotAlert()
    {
        BrowsingTestService service;
        service.setAnswer(u"B001"_s, [](const BrowsingTestService::Call &) {
            return BrowsingTestService::failure(u"系统维护中"_s);
        });
        ScreenFixture app;
        QVERIFY(open(app));
        // Back on the home screen before the answer arrives: nothing pops up there.
        app.navigation()->popViewControllerAnimated(false);
        QTRY_COMPARE(service.calls(u"B001"_s).size(), 1);
        QTest::qWait(100);
        QVERIFY(!ScreenFixture::visibleAlert());
    }
};

QTEST_MAIN(TestRVHospitalListViewController)
#include "tst_rvhospitallistviewcontroller.moc"
