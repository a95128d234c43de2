// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "browsingtestservice.h"
#include "screenfixture.h"
#include "screens/browse/rvdepartmentlistcontroller.h"
#include "screens/browse/rvdetailinfoviewcontroller.h"
#include "screens/browse/rvhospitalinfoviewcontroller.h"
#include "toolkit/alertview.h"
#include "toolkit/font.h"
#include "toolkit/imageview.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/navigationitem.h"
#include "toolkit/storyboard.h"
#include "toolkit/tableviewcell.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestRVHospitalInfoViewController : public QObject
{
    Q_OBJECT

private:
    static QJsonObject hospital()
    {
        return {{u"hospid"_s, u"H7"_s},          {u"yymc"_s, u"滨江市第一人民医院"_s},
                {u"yyjc"_s, u"市一院"_s},        {u"yydj"_s, u"三级甲等"_s},
                {u"yydz"_s, u"滨江路1号"_s},     {u"yydh"_s, u"0571-1234567"_s},
                {u"yyjs"_s, u"始建于1950年。"_s}};
    }
    // The detail screen pushed over the home screen, as the hospital list opens it.
    static std::shared_ptr<RVHospitalInfoViewController> open(ScreenFixture &app,
                                                              const QString &hospid)
    {
        app.launch();
        auto detail = RVHospitalInfoViewController::instantiateFor(hospid);
        app.navigation()->pushViewController(detail, false);
        return detail;
    }
    static ui::TableViewCell *cell(RVHospitalInfoViewController *detail, int row)
    {
        return detail->mainTableView()->cellForRowAtIndexPath({0, row});
    }
    // The texts of the labels added to a row, in the order they were added.
    static QStringList addedTexts(ui::TableViewCell *cell)
    {
        QStringList texts;
        for (ui::View *view : cell->contentView()->subviews()) {
            auto *label = qobject_cast<ui::Label *>(view);
            if (label != nullptr && label != cell->textLabel() && label != cell->detailTextLabel())
                texts << label->text();
        }
        return texts;
    }
    static int addedImages(ui::TableViewCell *cell)
    {
        int count = 0;
        for (ui::View *view : cell->contentView()->subviews())
            count += qobject_cast<ui::ImageView *>(view) != nullptr && view != cell->imageView();
        return count;
    }

private Q_SLOTS:
    void init() { ScreenFixture::forgetLogin(); }

    void rowsShowTheHospital()
    {
        BrowsingTestService service;
        service.setAnswer(u"B002"_s, [](const BrowsingTestService::Call &) {
            return BrowsingTestService::success(hospital());
        });
        ScreenFixture app;
        auto detail = open(app, u"H7"_s);
        QTRY_VERIFY(detail->lastLoad().httpStats);
        QCOMPARE(service.calls(u"B002"_s).size(), 1);
        QCOMPARE(service.calls(u"B002"_s).first().body.value(u"hospid"_s).toString(), u"H7"_s);
        // The title comes with the data, not only on the next appearance.
        QCOMPARE(detail->navigationItem()->title(), u"市一院"_s);

        const QList<qreal> heights{80, 45, 45, 40, 40, 90, 40};
        for (int row = 0; row < 7; ++row)
            QCOMPARE(detail->mainTableView()->rectForRowAtIndexPath({0, row}).height(),
                     heights.at(row));
        QCOMPARE(addedTexts(cell(detail.get(), 0)),
                 QStringList({u"滨江市第一人民医院"_s, u"三级甲等"_s}));
        QCOMPARE(addedTexts(cell(detail.get(), 1)), QStringList({u"滨江路1号"_s}));
        QCOMPARE(addedTexts(cell(detail.get(), 2)), QStringList({u"0571-1234567"_s}));
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(addedImages(cell(detail.get(), row)), 1);
            QCOMPARE(cell(detail.get(), row)->accessoryType(),
                     ui::TableViewCellAccessoryType::None);
        }
        QCOMPARE(cell(detail.get(), 3)->textLabel()->text(), u"选择科室挂号"_s);
        QVERIFY(cell(detail.get(), 3)->textLabel()->font().bold());
        QCOMPARE(cell(detail.get(), 3)->tag(), 101);
        QCOMPARE(cell(detail.get(), 4)->textLabel()->text(), u"详细信息"_s);
        QCOMPARE(cell(detail.get(), 4)->tag(), 102);
        QCOMPARE(cell(detail.get(), 5)->textLabel()->text(), u"始建于1950年。"_s);
        QCOMPARE(cell(detail.get(), 5)->textLabel()->numberOfLines(), 4);
        QCOMPARE(cell(detail.get(), 6)->textLabel()->text(), u"停诊公告"_s);
    }

    // Every reload hands the cells out again in another order: no row may keep what it
    // showed for another row.
    void reloadsDoNotStackViews()
    {
        BrowsingTestService service;
        service.setAnswer(u"B002"_s, [](const BrowsingTestService::Call &) {
            return BrowsingTestService::success(hospital());
        });
        ScreenFixture app;
        auto detail = open(app, u"H7"_s);
        QTRY_VERIFY(detail->lastLoad().httpStats);
        for (int i = 0; i < 3; ++i)
            detail->mainTableView()->reloadData();
        QCOMPARE(addedTexts(cell(detail.get(), 0)).size(), 2);
        QCOMPARE(addedImages(cell(detail.get(), 0)), 1);
        for (int row = 3; row < 7; ++row) {
            QCOMPARE(addedTexts(cell(detail.get(), row)), QStringList());
            QCOMPARE(addedImages(cell(detail.get(), row)), 0);
        }
        QCOMPARE(cell(detail.get(), 6)->tag(), 0);
        QCOMPARE(cell(detail.get(), 6)->textLabel()->textColor(), QColor(Qt::black));
    }

    void entries_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("pushed");
        QTest::addColumn<QString>("alert");
        QTest::newRow("departments") << 3 << u"departmentListMain"_s << QString();
        QTest::newRow("details") << 4 << u"detailInfo"_s << QString();
        QTest::newRow("introduction") << 5 << u"detailInfo"_s << QString();
        QTest::newRow("closure notice") << 6 << QString() << u"暂无停诊公告"_s;
        QTest::newRow("telephone only deselects") << 2 << QString() << QString();
        QTest::newRow("header does nothing") << 0 << QString() << QString();
    }
    void entries()
    {
        QFETCH(int, row);
        QFETCH(QString, pushed);
        QFETCH(QString, alert);
        BrowsingTestService service;
        service.setAnswer(u"B002"_s, [](const BrowsingTestService::Call &) {
            return BrowsingTestService::success(hospital());
        });
        ScreenFixture app;
        auto detail = open(app, u"H7"_s);
        QTRY_VERIFY(detail->lastLoad().httpStats);
        detail->mainTableView()->tapRowAtIndexPath({0, row});
        QVERIFY(!detail->mainTableView()->indexPathForSelectedRow());
        QCOMPARE(app.navigation()->viewControllers().size(), pushed.isEmpty() ? 2 : 3);
        if (!pushed.isEmpty())
            QCOMPARE(app.topIdentifier(), pushed);
        ui::AlertView *shown = ScreenFixture::visibleAlert();
        QCOMPARE(shown ? shown->message() : QString(), alert);
        if (auto *departments =
                qobject_cast<RVDepartmentListController *>(app.navigation()->topViewController())) {
            QCOMPARE(departments->hospitalCode(), u"H7"_s);
            QTRY_COMPARE(service.calls(u"B003"_s).size(), 1);
            QTRY_VERIFY(departments->lastLoad().httpStats);
        }
        if (auto *text =
                qobject_cast<RVDetailInfoViewController *>(app.navigation()->topViewController())) {
            QCOMPARE(text->mainTableView()->cellForRowAtIndexPath({0, 3})->textLabel()->text(),
                     u"始建于1950年。"_s);
        }
    }

    void failedLoadAlertsAndEntriesStillWork()
    {
        BrowsingTestService service;
        service.refuseConnections(true);
        ScreenFixture app;
        auto detail = open(app, u"H7"_s);
        QTRY_VERIFY(ScreenFixture::visibleAlert());
        QCOMPARE(ScreenFixture::visibleAlert()->message(), detail->lastLoad().httpErrorMessage);
        QVERIFY(!detail->lastLoad().httpErrorMessage.isEmpty());
        ScreenFixture::visibleAlert()->clickButtonAtIndex(0);
        QVERIFY(detail->navigationItem()->title().isEmpty());
        QCOMPARE(cell(detail.get(), 3)->textLabel()->text(), u"选择科室挂号"_s);
        QCOMPARE(addedTexts(cell(detail.get(), 1)), QStringList({QString()}));

        service.refuseConnections(false);
        detail->mainTableView()->tapRowAtIndexPath({0, 3});
        auto *departments =
            qobject_cast<RVDepartmentListController *>(app.navigation()->topViewController());
        QVERIFY(departments);
        QCOMPARE(departments->hospitalCode(), u"H7"_s);
        QTRY_VERIFY(departments->lastLoad().httpStats);
        // The text detail opens even with no hospital to show.
        app.navigation()->popViewControllerAnimated(false);
        QTRY_COMPARE(app.navigation()->viewControllers().size(), 2);
        detail->mainTableView()->tapRowAtIndexPath({0, 4});
        auto *text =
            qobject_cast<RVDetailInfoViewController *>(app.navigation()->topViewController());
        QVERIFY(text);
        QVERIFY(
            text->mainTableView()->cellForRowAtIndexPath({0, 3})->textLabel()->text().isEmpty());
    }
};

QTEST_MAIN(TestRVHospitalInfoViewController)
#include "tst_rvhospitalinfoviewcontroller.moc"
