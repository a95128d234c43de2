// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "browsingtestservice.h"
#include "components/rvasynimageview.h"
#include "components/ztprogresshud.h"
#include "protocols/rvprotocol.h"
#include "screenfixture.h"
#include "screens/booking/rvdoctorcontroller.h"
#include "screens/browse/rvdoctorlistviewcontroller.h"
#include "screens/home/rvmainviewcontroller.h"
#include "service/rvservicethread.h"
#include "toolkit/animation.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/storyboard.h"
#include "toolkit/tableviewcell.h"

#include <QDir>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{
// Page sizes the service gives, page by page; a page past the list is empty.
BrowsingTestService::Answer pages(const QList<int> &sizes)
{
    return [sizes](const BrowsingTestService::Call &call) {
        const int page = call.body.value(u"dqym"_s).toInt();
        int first = 1;
        for (int p = 1; p < page; ++p)
            first += sizes.value(p - 1);
        return BrowsingTestService::listReply(
            BrowsingTestService::doctors(first, sizes.value(page - 1)));
    };
}

QList<int> pagesAsked(const BrowsingTestService &service)
{
    QList<int> asked;
    for (const auto &call : service.calls(u"B006"_s))
        asked << call.body.value(u"dqym"_s).toInt();
    return asked;
}

QList<RVAsynImageView *> photosOf(ui::TableViewCell *cell)
{
    QList<RVAsynImageView *> photos;
    for (ui::View *view : cell->subviews()) {
        if (auto *photo = qobject_cast<RVAsynImageView *>(view))
            photos << photo;
    }
    return photos;
}

// What a view or a picture shows, pixel by pixel.
QImage pixels(ui::View *view)
{
    return view->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}
QImage pixels(const ui::Image &picture)
{
    return picture.toImage().convertToFormat(QImage::Format_ARGB32);
}

QStringList labelTexts(const ui::View *cell)
{
    QStringList texts;
    for (ui::View *view : cell->subviews()) {
        if (auto *label = qobject_cast<ui::Label *>(view))
            texts << label->text();
    }
    return texts;
}
} // namespace

class TestRVDoctorListViewController : public QObject
{
    Q_OBJECT

private:
    static RVDoctorListViewController *openFromHome(ScreenFixture &app)
    {
        app.launch();
        auto *home =
            static_cast<RVMainViewController *>(app.navigation()->viewControllers().first().get());
        home->contentButtonClick(2);
        return qobject_cast<RVDoctorListViewController *>(app.navigation()->topViewController());
    }
    // Drags the list up past its end by twice the threshold and lets go.
    static void pullUp(RVDoctorListViewController *list)
    {
        ui::TableView *table = list->tableView();
        table->beginDragging();
        table->dragTo(QPointF(0, table->maximumContentOffset().y() + 4 * 65));
        table->endDragging();
    }
    static void pullAndWait(RVDoctorListViewController *list)
    {
        pullUp(list);
        QTRY_VERIFY(!list->pvxRefreshTableHeaderDataSourceIsLoading(nullptr));
    }

private Q_SLOTS:
    void init()
    {
        ScreenFixture::forgetLogin();
        QDir(RVAsynImageView::cacheDirectory()).removeRecursively();
    }

    void paging_data()
    {
        QTest::addColumn<QList<int>>("sizes");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("animated");
        QTest::newRow("8 + 8 + empty success ends paging") << QList<int>{8, 8, 0} << 16 << false;
        // The empty page comes back before the header has opened its gap below the rows.
        QTest::newRow("8 + empty at once, animated") << QList<int>{8, 0} << 8 << true;
    }
    void paging()
    {
        QFETCH(QList<int>, sizes);
        QFETCH(int, rows);
        QFETCH(bool, animated);
        BrowsingTestService service;
        service.setAnswer(u"B006"_s, pages(sizes));
        ScreenFixture app;
        RVDoctorListViewController *list = openFromHome(app);
        QVERIFY(list);
        QTRY_COMPARE(service.calls(u"B006"_s).size(), 1);
        ui::Animation::setDisabledForTests(!animated);
        const auto animationsOff = qScopeGuard([] { ui::Animation::setDisabledForTests(true); });
        QTRY_COMPARE(list->tableView()->numberOfRowsInSection(0), qMin(rows, sizes.first()));
        const auto first = service.calls(u"B006"_s).first().body;
        QCOMPARE(first.value(u"xssl"_s).toInt(), 8);
        QVERIFY(!first.contains(u"pym"_s));
        QVERIFY(list->refreshHeaderView());
        QCOMPARE(list->refreshHeaderView()->frame(), QRectF(0, 8 * 95, 320, 480));
        for (int page = 2; page <= sizes.size(); ++page) {
            QVERIFY2(list->refreshHeaderView(), "the header stays while pages may follow");
            pullAndWait(list);
            QTRY_COMPARE(pagesAsked(service).size(), page);
            QTRY_VERIFY(!list->pvxRefreshTableHeaderDataSourceIsLoading(nullptr));
            if (list->refreshHeaderView())
                QCOMPARE(list->refreshHeaderView()->frame().top(),
                         95.0 * list->tableView()->numberOfRowsInSection(0));
        }
        QCOMPARE(list->tableView()->numberOfRowsInSection(0), rows);
        QVERIFY(!list->refreshHeaderView());
        QTest::qWait(animated ? 600 : 0);
        QCOMPARE(list->tableView()->contentInset().bottom, 0.0);
        QVERIFY(list->tableView()->contentOffset().y() <=
                list->tableView()->maximumContentOffset().y());
        QList<int> expected;
        for (int page = 1; page <= sizes.size(); ++page)
            expected << page;
        QCOMPARE(pagesAsked(service), expected);
        // Nothing more is asked once paging has ended.
        pullUp(list);
        QTest::qWait(50);
        QCOMPARE(pagesAsked(service), expected);
    }

    void refusedPageKeepsHeaderAndAsksTheSamePage()
    {
        BrowsingTestService service;
        service.setAnswer(u"B006"_s, pages({8, 8, 8}));
        ScreenFixture app;
        RVDoctorListViewController *list = openFromHome(app);
        QVERIFY(list);
        QTRY_COMPARE(list->tableView()->numberOfRowsInSection(0), 8);
        service.refuseConnections(true);
        pullAndWait(list);
        QCOMPARE(list->tableView()->numberOfRowsInSection(0), 8);
        QVERIFY(list->refreshHeaderView());
        QCOMPARE(list->refreshHeaderView()->frame().top(), 760.0);
        QCOMPARE(list->refreshHeaderView()->state(), PvxRefreshHeaderNormal);
        QCOMPARE(pagesAsked(service), QList<int>({1}));

        service.refuseConnections(false);
        pullAndWait(list);
        QTRY_COMPARE(list->tableView()->numberOfRowsInSection(0), 16);
        QCOMPARE(pagesAsked(service), QList<int>({1, 2}));
        QCOMPARE(list->refreshHeaderView()->frame().top(), 1520.0);
    }

    void search_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("found");
        QTest::addColumn<int>("searches");
        QTest::addColumn<bool>("refuseFirst");
        QTest::newRow("new text replaces the list") << QStringList{u"YS"_s} << 3 << 1 << false;
        QTest::newRow("no match") << QStringList{u"QQ"_s} << 0 << 1 << false;
        QTest::newRow("failed search, Return again with the same text")
            << QStringList{u"YS"_s, u"YS"_s} << 3 << 1 << true;
    }
    void search()
    {
        QFETCH(QStringList, texts);
        QFETCH(int, found);
        QFETCH(int, searches);
        QFETCH(bool, refuseFirst);
        BrowsingTestService service;
        service.setAnswer(u"B006"_s, [found](const BrowsingTestService::Call &call) {
            if (!call.body.contains(u"pym"_s))
                return pages({8, 8, 8})(call);
            return BrowsingTestService::listReply(BrowsingTestService::doctors(100, found));
        });
        ScreenFixture app;
        RVDoctorListViewController *list = openFromHome(app);
        QVERIFY(list);
        QTRY_COMPARE(list->tableView()->numberOfRowsInSection(0), 8);
        pullAndWait(list);
        QTRY_COMPARE(list->tableView()->numberOfRowsInSection(0), 16);

        service.refuseConnections(refuseFirst);
        for (const QString &text : texts) {
            list->searchBar()->setText(text);
            list->searchBarSearchButtonClicked(list->searchBar());
            QTRY_VERIFY(!list->pvxRefreshTableHeaderDataSourceIsLoading(nullptr));
            service.refuseConnections(false);
        }
        QList<BrowsingTestService::Call> searched;
        for (const auto &call : service.calls(u"B006"_s)) {
            if (call.body.contains(u"pym"_s))
                searched << call;
        }
        QCOMPARE(searched.size(), searches);
        QCOMPARE(searched.last().body.value(u"pym"_s).toString(), texts.last());
        QCOMPARE(searched.last().body.value(u"dqym"_s).toInt(), 1);
        QCOMPARE(list->tableView()->numberOfRowsInSection(0), found);
        if (found > 0)
            QCOMPARE(labelTexts(list->tableView()->cellForRowAtIndexPath({0, 0})).first(),
                     u"医生100"_s);
        const auto huds = ZtProgressHUD::allHUDsForView(list->view());
        QStringList tips;
        for (ZtProgressHUD *hud : huds)
            tips << hud->labelText();
        QCOMPARE(tips.contains(u"没有这位医生"_s), found == 0 || refuseFirst);
    }

    // Whatever ended before, a new search starts at page 1 with the header below its rows.
    void searchAfterTheEnd_data()
    {
        QTest::addColumn<QList<int>>("listPages");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QList<int>>("firstPages");
        QTest::addColumn<QString>("second");
        QTest::newRow("cleared after the search ended")
            << QList<int>{8, 8} << u"Z"_s << QList<int>{8, 0} << u""_s;
        QTest::newRow("other text after a short page")
            << QList<int>{8, 8} << u"Z"_s << QList<int>{8, 3} << u"Y"_s;
        QTest::newRow("list ended at once") << QList<int>{3} << QString() << QList<int>{} << u"Y"_s;
    }
    void searchAfterTheEnd()
    {
        QFETCH(QList<int>, listPages);
        QFETCH(QString, first);
        QFETCH(QList<int>, firstPages);
        QFETCH(QString, second);
        const QHash<QString, QList<int>> byName{
            {QString(), listPages}, {u"Z"_s, firstPages}, {u"Y"_s, {8, 8}}};
        BrowsingTestService service;
        service.setAnswer(u"B006"_s, [byName](const BrowsingTestService::Call &call) {
            return pages(byName.value(call.body.value(u"pym"_s).toString()))(call);
        });
        ScreenFixture app;
        RVDoctorListViewController *list = openFromHome(app);
        QVERIFY(list);
        QTRY_COMPARE(service.calls(u"B006"_s).size(), 1);
        QTRY_VERIFY(!list->pvxRefreshTableHeaderDataSourceIsLoading(nullptr));
        for (const QString &text : {first, second}) {
            if (text.isNull())
                continue;
            list->searchBar()->setText(text);
            list->searchBarSearchButtonClicked(list->searchBar());
            QTRY_VERIFY(!list->pvxRefreshTableHeaderDataSourceIsLoading(nullptr));
            for (int pull = 0; text == first && pull < 3 && list->refreshHeaderView(); ++pull)
                pullAndWait(list);
            QVERIFY(!list->refreshHeaderView() || text == second);
        }
        QCOMPARE(list->tableView()->numberOfRowsInSection(0), 8);
        QVERIFY(list->refreshHeaderView());
        QCOMPARE(list->refreshHeaderView()->frame(), QRectF(0, 8 * 95, 320, 480));
        pullAndWait(list);
        QTRY_COMPARE(list->tableView()->numberOfRowsInSection(0), 16);
        const QJsonObject last = service.calls(u"B006"_s).last().body;
        QCOMPARE(last.value(u"pym"_s).toString(), second);
        QCOMPARE(last.value(u"dqym"_s).toInt(), 2);
    }

    void filteredModes_data()
    {
        QTest::addColumn<QString>("field");
        QTest::newRow("nothing handed over") << QString();
        QTest::newRow("hospital") << u"hospid"_s;
        QTest::newRow("department") << u"deptid"_s;
        QTest::newRow("department code") << u"bzksdm"_s;
    }
    void filteredModes()
    {
        QFETCH(QString, field);
        BrowsingTestService service;
        service.setAnswer(u"B006"_s, pages({3}));
        ScreenFixture app;
        app.launch();
        auto list = RVDoctorListViewController::instantiateFor(
            field == u"hospid" ? u"H1"_s : QString(), field == u"deptid" ? u"H1-0101"_s : QString(),
            field == u"bzksdm" ? u"0101"_s : QString());
        app.navigation()->pushViewController(list, false);
        QTRY_COMPARE(list->tableView()->numberOfRowsInSection(0), 3);
        QCOMPARE(list->searchBar() != nullptr, field.isNull());
        const QRectF bounds = list->view()->bounds();
        QCOMPARE(list->tableView()->frame(),
                 field.isNull() ? bounds.adjusted(0, 44, 0, 0) : bounds);
        const QJsonObject body = service.calls(u"B006"_s).first().body;
        for (const QString &key : {u"hospid"_s, u"deptid"_s, u"bzksdm"_s})
            QCOMPARE(body.contains(key), key == field);
    }

    void reusedRowsShowTheirOwnDoctor()
    {
        BrowsingTestService service;
        service.setAnswer(u"B006"_s, pages({8, 8, 8, 8}));
        ScreenFixture app;
        RVDoctorListViewController *list = openFromHome(app);
        QVERIFY(list);
        QTRY_COMPARE(list->tableView()->numberOfRowsInSection(0), 8);
        for (int page = 2; page <= 3; ++page) {
            pullAndWait(list);
            QTRY_COMPARE(list->tableView()->numberOfRowsInSection(0), 8 * page);
        }
        ui::TableView *table = list->tableView();
        for (qreal y : {table->maximumContentOffset().y(), 700.0, 0.0}) {
            table->setContentOffset(QPointF(0, y));
            const QList<ui::IndexPath> rows = table->indexPathsForVisibleRows();
            QVERIFY(!rows.isEmpty());
            QVERIFY(table->visibleCells().size() <= 7);
            for (const ui::IndexPath &path : rows) {
                ui::TableViewCell *cell = table->cellForRowAtIndexPath(path);
                const QString row = QString::number(path.row + 1);
                QCOMPARE(cell->tag(), path.row + 1);
                QCOMPARE(labelTexts(cell),
                         QStringList({u"医生"_s + row, u"主任医师"_s, u"滨江第"_s + row + u"医院"_s,
                                      u"擅长"_s + row}));
                QCOMPARE(photosOf(cell).size(), 1);
            }
        }
    }

    void nameAndTitleSitSideBySide()
    {
        BrowsingTestService service;
        service.setAnswer(u"B006"_s, pages({1}));
        ScreenFixture app;
        RVDoctorListViewController *list = openFromHome(app);
        QVERIFY(list);
        QTRY_COMPARE(list->tableView()->numberOfRowsInSection(0), 1);
        QList<ui::Label *> labels;
        for (ui::View *view : list->tableView()->cellForRowAtIndexPath({0, 0})->subviews()) {
            if (auto *label = qobject_cast<ui::Label *>(view))
                labels << label;
        }
        QCOMPARE(labels.size(), 4);
        const QRectF name = labels.at(0)->frame();
        const QRectF title = labels.at(1)->frame();
        QCOMPARE(name.topLeft(), QPointF(75, 5));
        QCOMPARE(title.left(), name.right());
        QCOMPARE(title.bottom(), name.bottom() - 1);
        QVERIFY(title.height() < name.height());
        QCOMPARE(labels.at(2)->frame(), QRectF(75, 30, 230, 30));
        QCOMPARE(labels.at(3)->frame(), QRectF(75, 55, 230, 30));
        QCOMPARE(labels.at(3)->numberOfLines(), 2);
    }

    void tapWhileSearchingOnlyDismissesTheKeyboard_data()
    {
        QTest::addColumn<bool>("byFinger");
        QTest::newRow("keyboard and tap by code") << false;
        // The finger's press moves the focus away before the list hears of the tap.
        QTest::newRow("field and row touched") << true;
    }
    void tapWhileSearchingOnlyDismissesTheKeyboard()
    {
        QFETCH(bool, byFinger);
        BrowsingTestService service;
        service.setAnswer(u"B006"_s, pages({3}));
        ScreenFixture app;
        RVDoctorListViewController *list = openFromHome(app);
        QVERIFY(list);
        QTRY_COMPARE(list->tableView()->numberOfRowsInSection(0), 3);
        const auto tapSecondRow = [list, byFinger] {
            if (byFinger)
                QTest::mouseClick(list->tableView(), Qt::LeftButton, {}, QPoint(160, 95 + 47));
            else
                list->tableView()->tapRowAtIndexPath({0, 1});
        };
        if (byFinger)
            QTest::mouseClick(list->searchBar()->lineEdit(), Qt::LeftButton);
        else
            QVERIFY(list->searchBar()->becomeFirstResponder());
        QVERIFY(list->searchBar()->isFirstResponder());
        tapSecondRow();
        QVERIFY(!list->searchBar()->isFirstResponder());
        QCOMPARE(app.navigation()->topViewController(), list);

        const QImage secondRow = pixels(list->tableView()->cellForRowAtIndexPath({0, 1}));
        tapSecondRow();
        QCOMPARE(app.topIdentifier(), u"doctor"_s);
        auto *detail = qobject_cast<RVDoctorController *>(app.navigation()->topViewController());
        QVERIFY(detail);
        QCOMPARE(RVBaseInfo::text(detail->doctorInfo().ysdm()), u"D2"_s);
        QCOMPARE(pixels(detail->doctorInfoCell()), secondRow);
    }

    // The placeholder while the photo is still away; the photo once it is shown.
    void snapshotHoldsThePictureShownAtTheTap_data()
    {
        QTest::addColumn<bool>("photoArrives");
        QTest::newRow("photo not arrived") << false;
        QTest::newRow("photo shown") << true;
    }
    void snapshotHoldsThePictureShownAtTheTap()
    {
        QFETCH(bool, photoArrives);
        std::unique_ptr<RVServiceThread> realService;
        std::unique_ptr<BrowsingTestService> fake;
        if (photoArrives) {
            realService = std::make_unique<RVServiceThread>();
            QString error;
            QVERIFY2(realService->startService(&error), qPrintable(error));
            RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, realService->port());
        } else {
            fake = std::make_unique<BrowsingTestService>();
            // Photos from a host that never answers.
            fake->setAnswer(u"B006"_s, [](const BrowsingTestService::Call &) {
                return BrowsingTestService::listReply(
                    BrowsingTestService::doctors(1, 2, u"http://127.0.0.1:9"_s));
            });
        }
        ScreenFixture app;
        RVDoctorListViewController *list = openFromHome(app);
        QVERIFY(list);
        QTRY_VERIFY(list->tableView()->numberOfRowsInSection(0) > 0);
        ui::TableViewCell *cell = list->tableView()->cellForRowAtIndexPath({0, 0});
        QCOMPARE(photosOf(cell).size(), 1);
        RVAsynImageView *photo = photosOf(cell).first();
        const ui::Image placeholder = ui::Image::imageNamed(u"doctor_logo.png"_s);
        if (photoArrives)
            QTRY_VERIFY_WITH_TIMEOUT(!(photo->image() == placeholder), 10000);
        else
            QCOMPARE(photo->image(), placeholder);

        const QImage row = pixels(cell);
        list->tableView()->tapRowAtIndexPath({0, 0});
        auto *detail = qobject_cast<RVDoctorController *>(app.navigation()->topViewController());
        QVERIFY(detail);
        QCOMPARE(pixels(detail->doctorInfoCell()).copy(5, 5, 60, 85), pixels(photo));
        // The detail's top row looks as the list's row did.
        QTRY_VERIFY(detail->tableViewBaseInfo()->cellForRowAtIndexPath({0, 0}));
        QCOMPARE(pixels(detail->tableViewBaseInfo()->cellForRowAtIndexPath({0, 0})), row);
    }
};

QTEST_MAIN(TestRVDoctorListViewController)
#include "tst_rvdoctorlistviewcontroller.moc"
