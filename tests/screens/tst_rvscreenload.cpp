// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/shared/rvalert.h"
#include "screens/shared/rvscreenguard.h"
#include "screens/shared/rvscreenload.h"

#include "toolkit/alertview.h"
#include "toolkit/animation.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/window.h"

#include <QPointer>
#include <QSemaphore>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace
{

// A list screen as the browsing screens are: fields the finish copies in, a reload count.
class ListScreen final : public ui::ViewController
{
public:
    QStringList rows;
    bool httpStats = false;
    int reloads = 0;
};

ui::AlertView *visibleAlert()
{
    const auto alerts = ui::AlertView::visibleAlerts();
    return alerts.isEmpty() ? nullptr : alerts.last();
}

} // namespace

// The helpers a finish uses once its work is done: the on-top guard, the alert, and the
// common load that copies the outcome, then reloads or alerts.
class TestRVScreenLoad : public QObject
{
    Q_OBJECT

    std::unique_ptr<ui::Window> m_window;
    std::shared_ptr<ui::NavigationController> m_nav;

    std::shared_ptr<ListScreen> push()
    {
        auto screen = std::make_shared<ListScreen>();
        m_nav->pushViewController(screen, false);
        return screen;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        ui::Animation::setDisabledForTests(true);
    }

    void init()
    {
        m_nav =
            ui::NavigationController::initWithRootViewController(std::make_shared<ListScreen>());
        m_window = std::make_unique<ui::Window>();
        m_window->setRootViewController(m_nav);
        m_window->makeKeyAndVisible();
    }

    void cleanup()
    {
        for (ui::AlertView *alert : ui::AlertView::visibleAlerts())
            alert->dismissWithClickedButtonIndex(0, false);
        m_window.reset();
        m_nav.reset();
    }

    void guard_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("onTop");
        QTest::newRow("top of the stack") << u"top"_s << true;
        QTest::newRow("another screen pushed over it") << u"covered"_s << false;
        QTest::newRow("popped: the user went back") << u"popped"_s << false;
        QTest::newRow("never in a stack") << u"alone"_s << false;
    }

    // Alerts and pops happen only while the screen is the one shown.
    void guard()
    {
        QFETCH(QString, where);
        QFETCH(bool, onTop);
        auto screen = where == u"alone" ? std::make_shared<ListScreen>() : push();
        if (where == u"covered")
            push();
        if (where == u"popped")
            m_nav->popViewControllerAnimated(false);
        const qsizetype depth = m_nav->viewControllers().size();
        QCOMPARE(RVScreenGuard::isOnTop(screen.get()), onTop);
        QCOMPARE(RVAlert::showIfOnTop(screen.get(), u"失败"_s) != nullptr, onTop);
        QCOMPARE(visibleAlert() != nullptr, onTop);
        QCOMPARE(RVScreenGuard::popIfOnTop(screen.get()), onTop);
        QCOMPARE(m_nav->viewControllers().size(), onTop ? depth - 1 : depth);
        QVERIFY(!RVScreenGuard::isOnTop(nullptr));
    }

    void alertHasNoTitleAndOneButton()
    {
        ui::AlertView *alert = RVAlert::show(u"请先登录"_s);
        QCOMPARE(visibleAlert(), alert);
        QCOMPARE(alert->title(), QString());
        QCOMPARE(alert->message(), u"请先登录"_s);
        QCOMPARE(alert->buttonTitleAtIndex(0), u"确定"_s);
        QCOMPARE(alert->numberOfButtons(), 1);
    }

    void askAnswersWhileTheAskerLives_data()
    {
        QTest::addColumn<QString>("asker");
        QTest::addColumn<int>("tapped");
        QTest::addColumn<int>("heard"); // -1: no answer
        QTest::newRow("a choice") << u"alive"_s << 2 << 2;
        QTest::newRow("the cancel button") << u"alive"_s << 0 << 0;
        QTest::newRow("the asker went before the tap") << u"gone"_s << 1 << -1;
        QTest::newRow("no asker") << u"none"_s << 1 << 1;
    }
    void askAnswersWhileTheAskerLives()
    {
        QFETCH(QString, asker);
        QFETCH(int, tapped);
        QFETCH(int, heard);
        auto screen = std::make_shared<ListScreen>();
        int answer = -1;
        const auto take = [&answer](int index) { answer = index; };
        ui::AlertView *alert =
            asker == u"none"
                ? RVAlert::ask(u"标题"_s, u"问题"_s, u"取消"_s, {u"一"_s, u"二"_s}, take)
                : RVAlert::ask(screen->weak_from_this(), u"标题"_s, u"问题"_s, u"取消"_s,
                               {u"一"_s, u"二"_s}, take);
        QCOMPARE(alert->buttonTitleAtIndex(tapped),
                 (QStringList{u"取消"_s, u"一"_s, u"二"_s}.at(tapped)));
        if (asker == u"gone")
            screen.reset();
        alert->clickButtonAtIndex(tapped);
        QCOMPARE(answer, heard);
    }

    void loadOutcome_data()
    {
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<bool>("leftMeanwhile");
        QTest::addColumn<int>("reloads");
        QTest::addColumn<QString>("alert");
        QTest::newRow("success reloads") << true << false << 1 << QString();
        QTest::newRow("failure alerts the client's message")
            << false << false << 0 << u"无法连接服务器。"_s;
        QTest::newRow("failure after the user went back: no alert")
            << false << true << 0 << QString();
        QTest::newRow("success after the user went back: copied, no alert")
            << true << true << 1 << QString();
    }

    // The outcome is copied into the screen in every case (a failed load keeps what it
    // read); success reloads, failure alerts only while the screen is shown.
    void loadOutcome()
    {
        QFETCH(bool, succeeds);
        QFETCH(bool, leftMeanwhile);
        QFETCH(int, reloads);
        QFETCH(QString, alert);
        QSemaphore gate;
        QPointer<ListScreen> watched;
        auto assigned = std::make_shared<int>(0);
        auto reloaded = std::make_shared<int>(0);
        {
            auto screen = push();
            watched = screen.get();
            RVScreenLoad::load(
                screen.get(), u"加载中"_s,
                [&gate, succeeds] {
                    gate.acquire();
                    return RVLoadOutcome<QStringList>{
                        succeeds, succeeds ? QString() : u"无法连接服务器。"_s, {u"协和医院"_s}};
                },
                [assigned](ListScreen &self, const RVLoadOutcome<QStringList> &outcome) {
                    ++*assigned;
                    self.rows = outcome.value;
                    self.httpStats = outcome.httpStats;
                },
                [reloaded](ListScreen &self) {
                    ++self.reloads;
                    ++*reloaded;
                });
            if (leftMeanwhile)
                m_nav->popViewControllerAnimated(false);
        }
        QVERIFY(watched); // kept alive by its load
        QCOMPARE(*assigned, 0);
        gate.release();
        QTRY_COMPARE(*assigned, 1);
        QCOMPARE(*reloaded, reloads);
        if (leftMeanwhile) {
            QTRY_VERIFY(watched.isNull()); // released once its finish ran
        } else {
            QCOMPARE(watched->httpStats, succeeds);
            QCOMPARE(watched->rows, QStringList{u"协和医院"_s});
        }
        ui::AlertView *shown = visibleAlert();
        QCOMPARE(shown ? shown->message() : QString(), alert);
        if (shown)
            QCOMPARE(shown->title(), QString());
    }
};

QTEST_MAIN(TestRVScreenLoad)
#include "tst_rvscreenload.moc"
