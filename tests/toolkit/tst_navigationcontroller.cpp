// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/animation.h"
#include "toolkit/button.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/navigationitem.h"
#include "toolkit/storyboard.h"
#include "toolkit/storyboardsegue.h"
#include "toolkit/view.h"
#include "toolkit/window.h"

#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

// Records every appearance callback as "name:event".
class Screen final : public ui::ViewController
{
public:
    Screen(const QString &name, QStringList *log) : m_name(name), m_log(log) { setTitle(name); }
    ~Screen() override { m_log->append(m_name + u":released"_s); }

    void viewDidLoad() override { m_log->append(m_name + u":load"_s); }
    void viewWillAppear(bool) override { m_log->append(m_name + u":willAppear"_s); }
    void viewDidAppear(bool) override { m_log->append(m_name + u":didAppear"_s); }
    void viewWillDisappear(bool) override { m_log->append(m_name + u":willDisappear"_s); }
    void viewDidDisappear(bool) override { m_log->append(m_name + u":didDisappear"_s); }

private:
    QString m_name;
    QStringList *m_log;
};

// A screen that hands its segue's destination an input, as the list screens hand the next
// screen the chosen row.
class Chooser final : public ui::ViewController
{
public:
    QStringList prepared;
    void prepareForSegue(ui::StoryboardSegue &segue, QObject *sender) override
    {
        prepared.append(segue.identifier + u'>' +
                        segue.destinationViewController->navigationItem()->title() + u'/' +
                        (sender ? sender->objectName() : u"-"_s));
        segue.destinationViewController->setTitle(u"prepared"_s);
    }
};

} // namespace

class TestNavigationController : public QObject
{
    Q_OBJECT

    QStringList m_log;
    std::unique_ptr<ui::Window> m_window;
    std::shared_ptr<ui::NavigationController> m_nav;

    std::shared_ptr<Screen> screen(const QString &name)
    {
        return ui::ViewController::create<Screen>(name, &m_log);
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        ui::Animation::setDisabledForTests(true);
        m_log.clear();
        m_nav = ui::NavigationController::initWithRootViewController(screen(u"home"_s));
        m_window = std::make_unique<ui::Window>();
        m_window->setRootViewController(m_nav);
        m_window->makeKeyAndVisible();
    }

    void cleanup()
    {
        m_window.reset();
        m_nav.reset();
    }

    void pushAndPopCallbackOrder()
    {
        QCOMPARE(m_log, QStringList({u"home:load"_s, u"home:willAppear"_s, u"home:didAppear"_s}));
        m_log.clear();
        auto detail = screen(u"detail"_s);
        m_nav->pushViewController(detail, true);
        QCOMPARE(m_log,
                 QStringList({u"detail:load"_s, u"home:willDisappear"_s, u"detail:willAppear"_s,
                              u"home:didDisappear"_s, u"detail:didAppear"_s}));
        QCOMPARE(detail->navigationController(), m_nav.get());
        QCOMPARE(detail->view()->parentWidget()->parentWidget(), m_nav->view());
        QCOMPARE(detail->view()->frame(), QRectF(0, 0, 320, 524));
        m_log.clear();
        const auto popped = m_nav->popViewControllerAnimated(true);
        QCOMPARE(popped, detail);
        QCOMPARE(m_log, QStringList({u"detail:willDisappear"_s, u"home:willAppear"_s,
                                     u"detail:didDisappear"_s, u"home:didAppear"_s}));
        QCOMPARE(detail->navigationController(), nullptr);
        QCOMPARE(m_nav->popViewControllerAnimated(true), nullptr); // the root stays
    }

    void animatedPushFinishesAfterTheSlide()
    {
        ui::Animation::setDisabledForTests(false);
        m_log.clear();
        QSignalSpy finished(m_nav.get(), &ui::NavigationController::transitionFinished);
        m_nav->pushViewController(screen(u"a"_s), true);
        QVERIFY(m_nav->isTransitioning());
        QVERIFY(!m_log.contains(u"a:didAppear"_s));
        QVERIFY(m_log.contains(u"a:willAppear"_s));
        QVERIFY(finished.wait(2000));
        QCOMPARE(m_log.last(), u"a:didAppear"_s);
        QCOMPARE(m_nav->topViewController()->view()->frame(), QRectF(0, 0, 320, 524));
        // A push during a slide finishes the slide first.
        m_nav->pushViewController(screen(u"b"_s), true);
        m_nav->pushViewController(screen(u"c"_s), true);
        QCOMPARE(m_log.indexOf(u"b:didAppear"_s) < m_log.indexOf(u"c:willAppear"_s), true);
        m_nav->finishTransition();
        QCOMPARE(m_nav->viewControllers().size(), 4);
    }

    void popToRootAndToController()
    {
        auto a = screen(u"a"_s);
        auto b = screen(u"b"_s);
        auto c = screen(u"c"_s);
        m_nav->pushViewController(a, false);
        m_nav->pushViewController(b, false);
        m_nav->pushViewController(c, false);
        QCOMPARE(m_nav->childViewControllers().size(), 4);
        m_log.clear();
        auto popped = m_nav->popToViewController(a.get(), true);
        QCOMPARE(popped.size(), 2);
        QCOMPARE(popped.first(), b);
        QCOMPARE(popped.last(), c);
        QCOMPARE(m_nav->topViewController(), a.get());
        // Only the screen that leaves and the one that shows hear of it.
        QCOMPARE(m_log, QStringList({u"c:willDisappear"_s, u"a:willAppear"_s, u"c:didDisappear"_s,
                                     u"a:didAppear"_s}));
        m_nav->pushViewController(b, false);
        popped = m_nav->popToRootViewControllerAnimated(true);
        QCOMPARE(popped.size(), 2);
        QCOMPARE(m_nav->viewControllers().size(), 1);
        QCOMPARE(m_nav->topViewController()->title(), u"home"_s);
        QVERIFY(m_nav->popToRootViewControllerAnimated(true).isEmpty());
    }

    void poppedScreenIsReleasedFromTheEventLoop()
    {
        m_nav->pushViewController(screen(u"a"_s), false);
        m_log.clear();
        m_nav->popViewControllerAnimated(false); // the returned reference is dropped at once
        QVERIFY(!m_log.contains(u"a:released"_s));
        QTRY_VERIFY(m_log.contains(u"a:released"_s));
    }

    void backButtonTitle_data()
    {
        QTest::addColumn<QString>("previousTitle");
        QTest::addColumn<QString>("backItemTitle");
        QTest::addColumn<QString>("defaultTitle");
        QTest::addColumn<QString>("expected");
        QTest::newRow("back item wins") << u"医院"_s << u"返回"_s << QString() << u"返回"_s;
        QTest::newRow("back item beats the default")
            << u"医院"_s << u"关闭"_s << u"返回"_s << u"关闭"_s;
        QTest::newRow("default beats the previous title")
            << u"医院"_s << QString() << u"返回"_s << u"返回"_s;
        QTest::newRow("previous title") << u"医院"_s << QString() << QString() << u"医院"_s;
        QTest::newRow("nothing") << QString() << QString() << QString() << u"Back"_s;
    }
    void backButtonTitle()
    {
        QFETCH(QString, previousTitle);
        QFETCH(QString, backItemTitle);
        QFETCH(QString, defaultTitle);
        QFETCH(QString, expected);
        ui::NavigationBar::setDefaultBackButtonTitle(defaultTitle);
        auto restore = qScopeGuard([] { ui::NavigationBar::setDefaultBackButtonTitle({}); });
        auto previous = screen(u"p"_s);
        previous->setTitle(previousTitle);
        m_nav->pushViewController(previous, false);
        auto top = screen(u"top"_s);
        m_nav->pushViewController(top, false);
        ui::NavigationBar *bar = m_nav->navigationBar();
        QCOMPARE(bar->backItem(), previous->navigationItem());
        QCOMPARE(bar->topItem(), top->navigationItem());
        if (!backItemTitle.isNull())
            bar->backItem()->setBackBarButtonItem(
                ui::BarButtonItem::initWithTitle(backItemTitle, ui::BarButtonItemStyle::Bordered));
        QCOMPARE(bar->backButton()->currentTitle(), expected);
        QCOMPARE(bar->displayedTitle(), u"top"_s);
        // The back button pops.
        QTest::mouseClick(bar->backButton(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(m_nav->topViewController(), previous.get());
    }

    // Screens title their back button once they have appeared; the bar shows the application's
    // back title while the screen is still sliding in.
    void backTitleShowsFromTheFirstFrame()
    {
        ui::NavigationBar::setDefaultBackButtonTitle(u"返回"_s);
        auto restore = qScopeGuard([] { ui::NavigationBar::setDefaultBackButtonTitle({}); });
        ui::Animation::setDisabledForTests(false);
        m_nav->pushViewController(screen(u"detail"_s), true);
        QVERIFY(m_nav->isTransitioning());
        ui::Button *back = m_nav->navigationBar()->backButton();
        QVERIFY(!back->isHidden());
        QCOMPARE(back->currentTitle(), u"返回"_s);
        QSignalSpy finished(m_nav.get(), &ui::NavigationController::transitionFinished);
        QVERIFY(finished.wait(2000));
        QCOMPARE(back->currentTitle(), u"返回"_s);
    }

    void rightButtonRunsItsActionAndMayReplaceItself()
    {
        auto a = screen(u"a"_s);
        m_nav->pushViewController(a, false);
        m_nav->pushViewController(screen(u"b"_s), false);
        int runs = 0;
        auto *item = m_nav->topViewController()->navigationItem();
        item->setRightBarButtonItem(
            ui::BarButtonItem::initWithTitle(u"主页"_s, ui::BarButtonItemStyle::Bordered, [&] {
                ++runs;
                item->setRightBarButtonItem(nullptr);
                m_nav->popToRootViewControllerAnimated(true);
            }));
        ui::Button *right = m_nav->navigationBar()->rightButton();
        QVERIFY(!right->isHidden());
        QCOMPARE(right->currentTitle(), u"主页"_s);
        QTest::mouseClick(right, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(runs, 1);
        QCOMPARE(m_nav->viewControllers().size(), 1);
        QVERIFY(right->isHidden());
    }

    void storyboardUnknownIdentifier()
    {
        ui::Storyboard *board = ui::Storyboard::storyboardWithName(u"TestBoard"_s);
        QCOMPARE(ui::Storyboard::storyboardWithName(u"TestBoard"_s), board);
        board->registerViewController(u"known"_s, [this] { return screen(u"known"_s); });
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"no screen.*missing"_s));
        QCOMPARE(board->instantiateViewControllerWithIdentifier(u"missing"_s), nullptr);
        const auto made = board->instantiateViewControllerWithIdentifier(u"known"_s);
        QVERIFY(made);
        QCOMPARE(made->storyboard(), board);
        QVERIFY(made != board->instantiateViewControllerWithIdentifier(u"known"_s));
        QCOMPARE(board->identifiers(), QStringList({u"known"_s}));
    }

    void segueMakesPreparesAndPushes_data()
    {
        QTest::addColumn<QString>("segue");
        QTest::addColumn<QStringList>("prepared");
        QTest::addColumn<QString>("top");
        QTest::newRow("registered segue")
            << u"toDetail"_s << QStringList{u"toDetail>detail/cell"_s} << u"prepared"_s;
        QTest::newRow("unknown segue does nothing") << u"nowhere"_s << QStringList() << u"c"_s;
        QTest::newRow("segue to an unregistered screen") << u"toGhost"_s << QStringList() << u"c"_s;
    }
    void segueMakesPreparesAndPushes()
    {
        QFETCH(QString, segue);
        QFETCH(QStringList, prepared);
        QFETCH(QString, top);
        ui::Storyboard *board = ui::Storyboard::storyboardWithName(u"SegueBoard"_s);
        board->registerViewController(u"detail"_s, [this] { return screen(u"detail"_s); });
        board->registerViewController(u"chooser"_s,
                                      [] { return ui::ViewController::create<Chooser>(); });
        board->registerSegue(u"toDetail"_s, u"detail"_s);
        board->registerSegue(u"toGhost"_s, u"ghost"_s);
        auto chooser = std::static_pointer_cast<Chooser>(
            board->instantiateViewControllerWithIdentifier(u"chooser"_s));
        QVERIFY(chooser);
        chooser->setTitle(u"c"_s);
        m_nav->pushViewController(chooser, false);
        QObject cell;
        cell.setObjectName(u"cell"_s);
        if (!prepared.isEmpty())
            m_log.clear();
        else
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"no (segue|screen)"_s));
        chooser->performSegueWithIdentifier(segue, &cell);
        QCOMPARE(chooser->prepared, prepared);
        QCOMPARE(m_nav->topViewController()->title(), top);
        if (!prepared.isEmpty()) {
            // Made from the storyboard, loaded and shown after its inputs were handed over.
            QCOMPARE(m_nav->topViewController()->storyboard(), board);
            QVERIFY(m_log.contains(u"detail:load"_s));
        }
    }

    void storyboardReportsAScreenNotMadeByCreate()
    {
        ui::Storyboard *board = ui::Storyboard::storyboardWithName(u"CreateBoard"_s);
        board->registerViewController(u"plain"_s, [] {
            return std::shared_ptr<ui::ViewController>(std::make_shared<ui::ViewController>());
        });
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"not made by"_s));
        const auto plain = board->instantiateViewControllerWithIdentifier(u"plain"_s);
        QVERIFY(plain);
        QVERIFY(!ui::ViewController::isCreated(plain));
        QVERIFY(ui::ViewController::isCreated(screen(u"made"_s)));
    }
};

QTEST_MAIN(TestNavigationController)
#include "tst_navigationcontroller.moc"
