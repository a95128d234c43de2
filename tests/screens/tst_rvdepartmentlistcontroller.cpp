// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "browsingtestservice.h"
#include "screenfixture.h"
#include "screens/browse/rvdepartmentlistcontroller.h"
#include "screens/browse/rvdoctorlistviewcontroller.h"
#include "screens/home/rvmainviewcontroller.h"
#include "toolkit/alertview.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/navigationitem.h"
#include "toolkit/storyboard.h"
#include "toolkit/tableviewcell.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestRVDepartmentListController : public QObject
{
    Q_OBJECT

private:
    static QJsonArray classes()
    {
        return {QJsonObject{{u"deptid"_s, u"01"_s}, {u"bzksmc"_s, u"内科"_s}},
                QJsonObject{{u"deptid"_s, u"02"_s}, {u"bzksmc"_s, u"外科"_s}}};
    }
    static QJsonArray departments()
    {
        return {QJsonObject{{u"deptid"_s, u"H1-0101"_s},
                            {u"bzksdm"_s, u"0101"_s},
                            {u"bzksmc"_s, u"心血管内科"_s}},
                QJsonObject{{u"deptid"_s, u"H1-0102"_s},
                            {u"bzksdm"_s, u"0102"_s},
                            {u"bzksmc"_s, u"呼吸内科"_s}}};
    }
    // Answers the classes under "0" and the departments under any other parent, whichever
    // transaction asks.
    static void script(BrowsingTestService &service)
    {
        const auto answer = [](const BrowsingTestService::Call &call) {
            return BrowsingTestService::listReply(
                call.body.value(u"deptid"_s).toString() == u"0" ? classes() : departments());
        };
        service.setAnswer(u"B003"_s, answer);
        service.setAnswer(u"B004"_s, answer);
    }
    static RVDepartmentListController *top(ScreenFixture &app)
    {
        return qobject_cast<RVDepartmentListController *>(app.navigation()->topViewController());
    }
    static QString bodyValue(const BrowsingTestService::Call &call, const QString &key)
    {
        return call.body.contains(key) ? call.body.value(key).toString() : u"<absent>"_s;
    }

private Q_SLOTS:
    void init() { ScreenFixture::forgetLogin(); }

    // Each level's transaction and fields as the service receives them.
    void twoLevelsAndTheDoctorList_data()
    {
        QTest::addColumn<QString>("hospital");
        QTest::addColumn<QString>("secondCode");
        QTest::newRow("across all hospitals") << QString() << u"B003"_s;
        QTest::newRow("one hospital") << u"H1"_s << u"B004"_s;
    }
    void twoLevelsAndTheDoctorList()
    {
        QFETCH(QString, hospital);
        QFETCH(QString, secondCode);
        BrowsingTestService service;
        script(service);
        ScreenFixture app;
        app.launch();
        auto first = RVDepartmentListController::instantiateFor(hospital);
        app.navigation()->pushViewController(first, false);
        QTRY_COMPARE(first->tableView()->numberOfRowsInSection(0), 2);
        const QString expectedHospital = hospital.isNull() ? u"<absent>"_s : hospital;

        QCOMPARE(service.calls().size(), 1);
        const BrowsingTestService::Call firstCall = service.calls().first();
        QCOMPARE(firstCall.code, u"B003"_s);
        QCOMPARE(bodyValue(firstCall, u"hospid"_s), expectedHospital);
        QCOMPARE(bodyValue(firstCall, u"deptid"_s), u"0"_s);
        QCOMPARE(first->navigationItem()->title(), u"科室查询"_s);
        ui::TableViewCell *cell = first->tableView()->cellForRowAtIndexPath({0, 1});
        QCOMPARE(cell->textLabel()->text(), u"外科"_s);
        QCOMPARE(cell->accessoryType(), ui::TableViewCellAccessoryType::DisclosureIndicator);
        QCOMPARE(cell->tag(), 2);

        first->tableView()->tapRowAtIndexPath({0, 1});
        RVDepartmentListController *second = top(app);
        QVERIFY(second && second != first.get());
        QTRY_COMPARE(second->tableView()->numberOfRowsInSection(0), 2);
        QCOMPARE(service.calls().size(), 2);
        const BrowsingTestService::Call secondCall = service.calls().last();
        QCOMPARE(secondCall.code, secondCode);
        QCOMPARE(bodyValue(secondCall, u"hospid"_s), expectedHospital);
        QCOMPARE(bodyValue(secondCall, u"deptid"_s), u"02"_s);
        QCOMPARE(second->navigationItem()->title(), u"外科"_s);

        second->tableView()->tapRowAtIndexPath({0, 0});
        auto *doctors =
            qobject_cast<RVDoctorListViewController *>(app.navigation()->topViewController());
        QVERIFY(doctors);
        QTRY_COMPARE(service.calls(u"B006"_s).size(), 1);
        const BrowsingTestService::Call doctorsCall = service.calls(u"B006"_s).first();
        QCOMPARE(bodyValue(doctorsCall, u"deptid"_s), u"H1-0101"_s);
        QCOMPARE(bodyValue(doctorsCall, u"bzksdm"_s), u"0101"_s);
        QCOMPARE(bodyValue(doctorsCall, u"hospid"_s), expectedHospital);
    }

    void failuresAndEmptyReplies_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<bool>("alerts");
        QTest::newRow("empty reply") << false << QString() << false;
        QTest::newRow("service refuses") << false << u"科室不存在"_s << true;
        QTest::newRow("connection refused") << true << QString() << true;
    }
    void failuresAndEmptyReplies()
    {
        QFETCH(bool, refused);
        QFETCH(QString, failure);
        QFETCH(bool, alerts);
        BrowsingTestService service;
        service.setAnswer(u"B003"_s, [failure](const BrowsingTestService::Call &) {
            return failure.isNull() ? BrowsingTestService::listReply({})
                                    : BrowsingTestService::failure(failure);
        });
        service.refuseConnections(refused);
        ScreenFixture app;
        app.launch();
        auto *home =
            static_cast<RVMainViewController *>(app.navigation()->viewControllers().first().get());
        home->contentButtonClick(1);
        RVDepartmentListController *list = top(app);
        QVERIFY(list);
        QTRY_VERIFY(list->lastLoad().httpStats || ScreenFixture::visibleAlert());
        QTest::qWait(50);
        QCOMPARE(ScreenFixture::visibleAlert() != nullptr, alerts);
        QCOMPARE(list->lastLoad().httpStats, !alerts);
        if (alerts) {
            QCOMPARE(ScreenFixture::visibleAlert()->message(), list->lastLoad().httpErrorMessage);
            QVERIFY(!list->lastLoad().httpErrorMessage.isEmpty());
            if (!failure.isNull())
                QCOMPARE(list->lastLoad().httpErrorMessage, failure);
        }
        QCOMPARE(list->tableView()->numberOfRowsInSection(0), 0);
    }
};

QTEST_MAIN(TestRVDepartmentListController)
#include "tst_rvdepartmentlistcontroller.moc"
