// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/alertview.h"
#include "toolkit/animation.h"
#include "toolkit/collectionview.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/searchbar.h"
#include "toolkit/tableview.h"
#include "toolkit/window.h"

#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

#include <thread>

using namespace Qt::StringLiterals;

namespace
{

// Plays every role a view can ask for, and counts what it was asked.
class Everything final : public ui::TableViewDataSource,
                         public ui::TableViewDelegate,
                         public ui::CollectionViewDataSource,
                         public ui::CollectionViewDelegate,
                         public ui::SearchBarDelegate
{
public:
    int asked = 0;
    int numberOfRowsInSection(ui::TableView *, int) override { return ++asked, 3; }
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *, const ui::IndexPath &) override
    {
        return new ui::TableViewCell(ui::TableViewCellStyle::Default, u"c"_s);
    }
    int numberOfItemsInSection(ui::CollectionView *, int) override { return ++asked, 0; }
    ui::CollectionViewCell *cellForItemAtIndexPath(ui::CollectionView *,
                                                   const ui::IndexPath &) override
    {
        return nullptr;
    }
};

enum class Holder {
    TableDataSource,
    TableDelegate,
    CollectionDataSource,
    CollectionDelegate,
    ScrollDelegate,
    SearchBarDelegate
};

// The role as the view reports it now.
const void *heldRole(Holder holder, ui::TableView &table, ui::CollectionView &grid,
                     ui::ScrollView &scroll, ui::SearchBar &bar)
{
    switch (holder) {
    case Holder::TableDataSource:
        return table.dataSource();
    case Holder::TableDelegate:
        return table.delegate();
    case Holder::CollectionDataSource:
        return grid.dataSource();
    case Holder::CollectionDelegate:
        return grid.delegate();
    case Holder::ScrollDelegate:
        return scroll.delegate();
    case Holder::SearchBarDelegate:
        return bar.delegate();
    }
    return nullptr;
}

void give(Holder holder, Everything *roles, ui::TableView &table, ui::CollectionView &grid,
          ui::ScrollView &scroll, ui::SearchBar &bar)
{
    table.setDataSource(holder == Holder::TableDataSource ? roles : nullptr);
    table.setDelegate(holder == Holder::TableDelegate ? roles : nullptr);
    grid.setDataSource(holder == Holder::CollectionDataSource ? roles : nullptr);
    grid.setDelegate(holder == Holder::CollectionDelegate ? roles : nullptr);
    scroll.setDelegate(
        holder == Holder::ScrollDelegate ? static_cast<ui::TableViewDelegate *>(roles) : nullptr);
    bar.setDelegate(holder == Holder::SearchBarDelegate ? roles : nullptr);
}

// Notes, while it is destroyed, whether its data source was still there.
class ProbeTable final : public ui::TableView
{
public:
    ProbeTable(const QRectF &frame, bool *hadSource) : ui::TableView(frame), m_hadSource(hadSource)
    {
    }
    ~ProbeTable() override { *m_hadSource = dataSource() != nullptr; }

private:
    bool *m_hadSource;
};

// A screen that is its own table's data source and notes what it sees while it is destroyed.
class ListScreen final : public ui::ViewController, public ui::TableViewDataSource
{
public:
    struct Seen {
        bool destroyed = false;
        bool viewLoaded = true;
        bool tableHadSource = true;
        QThread *thread = nullptr;
    };
    explicit ListScreen(Seen *seen) : m_seen(seen) {}
    ~ListScreen() override
    {
        m_seen->destroyed = true;
        m_seen->viewLoaded = isViewLoaded();
        m_seen->thread = QThread::currentThread();
    }
    void viewDidLoad() override
    {
        auto *table = new ProbeTable(view()->bounds(), &m_seen->tableHadSource);
        view()->addSubview(table);
        table->setDataSource(this);
    }
    int numberOfRowsInSection(ui::TableView *, int) override { return 1; }
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *, const ui::IndexPath &) override
    {
        return new ui::TableViewCell(ui::TableViewCellStyle::Default, u"c"_s);
    }

private:
    Seen *m_seen;
};

} // namespace

Q_DECLARE_METATYPE(Holder)

class TestWeakDelegate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        ui::Animation::setDisabledForTests(true);
    }

    void roleOfAGoneObjectReadsAsNone_data()
    {
        QTest::addColumn<Holder>("holder");
        QTest::newRow("table data source") << Holder::TableDataSource;
        QTest::newRow("table delegate") << Holder::TableDelegate;
        QTest::newRow("grid data source") << Holder::CollectionDataSource;
        QTest::newRow("grid delegate") << Holder::CollectionDelegate;
        QTest::newRow("scroll view delegate") << Holder::ScrollDelegate;
        QTest::newRow("search bar delegate") << Holder::SearchBarDelegate;
    }
    void roleOfAGoneObjectReadsAsNone()
    {
        QFETCH(Holder, holder);
        ui::TableView table(QRectF(0, 0, 320, 300));
        ui::CollectionView grid(QRectF(0, 0, 320, 300));
        ui::ScrollView scroll(QRectF(0, 0, 320, 300));
        ui::SearchBar bar(QRectF(0, 0, 320, 44));
        auto roles = std::make_unique<Everything>();
        give(holder, roles.get(), table, grid, scroll, bar);
        QVERIFY(heldRole(holder, table, grid, scroll, bar) != nullptr);

        // A copy is an object of its own: the original's end does not end the copy.
        auto copy = std::make_unique<Everything>(*roles);
        give(holder, copy.get(), table, grid, scroll, bar);
        roles.reset();
        QVERIFY(heldRole(holder, table, grid, scroll, bar) != nullptr);

        copy.reset();
        QCOMPARE(heldRole(holder, table, grid, scroll, bar), nullptr);
        // Laid out and scrolled after the end: nothing is asked of the gone object (the
        // sanitizer build reports any use of it).
        table.reloadData();
        grid.reloadData();
        scroll.setContentSize(QSizeF(320, 900));
        scroll.setContentOffset(QPointF(0, 40));
        table.setContentOffset(QPointF(0, 10));
    }

    void alertDoesNotTellAGoneDelegate()
    {
        struct Listener final : ui::AlertViewDelegate {
            int *told;
            explicit Listener(int *t) : told(t) {}
            void alertViewClickedButtonAtIndex(ui::AlertView *, int) override { ++*told; }
        };
        int told = 0;
        auto listener = std::make_unique<Listener>(&told);
        ui::Window window;
        window.makeKeyAndVisible();
        auto *alert = ui::AlertView::initWithTitle(u"t"_s, u"m"_s, listener.get(), u"确定"_s);
        alert->show();
        QPointer<ui::AlertView> watch(alert);
        listener.reset();
        alert->clickButtonAtIndex(0);
        QCOMPARE(told, 0);
        QTRY_VERIFY(!watch);
    }

    void screenRolesEndBeforeItsDestructorsAndItsViewGoesFirst()
    {
        ListScreen::Seen seen;
        auto screen = ui::ViewController::create<ListScreen>(&seen);
        screen->view();
        auto *table = screen->view()->findChild<ui::TableView *>();
        QVERIFY(table);
        QCOMPARE(table->dataSource(), static_cast<ui::TableViewDataSource *>(screen.get()));
        screen.reset();
        QVERIFY(seen.destroyed);
        QVERIFY2(!seen.viewLoaded, "the view must be gone before the screen's destructor runs");
        QVERIFY2(!seen.tableHadSource, "the table must not see a screen that is released");
        QCOMPARE(seen.thread, QThread::currentThread());
    }

    void lastReleaseOffTheMainThreadEndsOnTheMainThread()
    {
        ListScreen::Seen seen;
        auto screen = ui::ViewController::create<ListScreen>(&seen);
        screen->view();
        QVERIFY(ui::ViewController::isCreated(screen));
        std::thread worker([held = std::move(screen)]() mutable { held.reset(); });
        worker.join();
        QVERIFY2(!seen.destroyed, "a release off the main thread must wait for the main thread");
        QTRY_VERIFY(seen.destroyed);
        QCOMPARE(seen.thread, QThread::currentThread());
        QVERIFY(!seen.viewLoaded);
    }

    void poppedScreenLivesUntilItsSlideEnded()
    {
        ui::Animation::setDisabledForTests(false);
        ListScreen::Seen rootSeen, topSeen;
        auto nav = ui::NavigationController::initWithRootViewController(
            ui::ViewController::create<ListScreen>(&rootSeen));
        ui::Window window;
        window.setRootViewController(nav);
        window.makeKeyAndVisible();
        nav->pushViewController(ui::ViewController::create<ListScreen>(&topSeen), false);
        QVERIFY(nav->popViewControllerAnimated(true));
        QVERIFY(nav->isTransitioning());
        QTest::qWait(50);
        QVERIFY2(!topSeen.destroyed, "the sliding screen must stay while it is shown");
        QSignalSpy finished(nav.get(), &ui::NavigationController::transitionFinished);
        QVERIFY(finished.wait(2000));
        QTRY_VERIFY(topSeen.destroyed);
        QVERIFY(!rootSeen.destroyed);
        ui::Animation::setDisabledForTests(true);
    }
};

QTEST_MAIN(TestWeakDelegate)
#include "tst_weakdelegate.moc"
