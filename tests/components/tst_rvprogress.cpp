// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/rvprogress.h"
#include "components/ztprogresshud.h"
#include "platform/workpool.h"

#include "platform/mainthread.h"
#include "protocols/rvcurlnetworklayer.h"
#include "protocols/rvhttpexchange.h"
#include "toolkit/animation.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/view.h"
#include "toolkit/window.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QRegularExpression>
#include <QSemaphore>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ZtProgressHUDMode)

namespace
{

// What happened to a screen, written from both threads and outliving the screen.
struct Probe {
    void append(const QString &event)
    {
        QMutexLocker lock(&mutex);
        log.append(event);
    }
    QStringList events()
    {
        QMutexLocker lock(&mutex);
        return log;
    }

    QMutex mutex;
    QStringList log;
    std::atomic<QThread *> destroyedOn{nullptr};
};

class Screen final : public ui::ViewController
{
public:
    explicit Screen(std::shared_ptr<Probe> probe) : m_probe(std::move(probe)) {}
    ~Screen() override
    {
        m_probe->append(u"destroyed"_s);
        m_probe->destroyedOn = QThread::currentThread();
    }

    void loadView() override
    {
        ui::ViewController::loadView();
        content = new ui::View(QRectF(0, 0, 320, 200));
        view()->addSubview(content);
    }

    int result = 0;
    QStringList rows; // assigned by finishes only
    ui::View *content = nullptr;

private:
    std::shared_ptr<Probe> m_probe;
};

QThread *mainThread()
{
    return QCoreApplication::instance()->thread();
}

// The opacity a view is drawn with: its own alpha times that of every view above it.
qreal shownAlpha(const QWidget *widget)
{
    qreal alpha = 1.0;
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (const auto *view = qobject_cast<const ui::View *>(widget))
            alpha *= view->alpha();
    }
    return alpha;
}

} // namespace

class TestRVProgress : public QObject
{
    Q_OBJECT

    std::unique_ptr<ui::Window> m_window;
    std::shared_ptr<ui::NavigationController> m_nav;

    std::shared_ptr<Screen> pushScreen(const std::shared_ptr<Probe> &probe)
    {
        auto screen = std::make_shared<Screen>(probe);
        m_nav->pushViewController(screen, false);
        return screen;
    }

    // Lets the navigation stack release what it popped.
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        ui::Animation::setDisabledForTests(true);
        m_nav = ui::NavigationController::initWithRootViewController(
            std::make_shared<Screen>(std::make_shared<Probe>()));
        m_window = std::make_unique<ui::Window>();
        m_window->setRootViewController(m_nav);
        m_window->makeKeyAndVisible();
    }

    void cleanup()
    {
        m_window.reset();
        m_nav.reset();
    }

    // Main-thread work queued by the work (the screens' result handlers) still sees the
    // overlay: the clean-up comes after it.
    void queuedWorkRunsBeforeCleanUp()
    {
        auto screen = pushScreen(std::make_shared<Probe>());
        ui::View *view = screen->view();
        std::atomic_bool handled{false};
        bool overlayUp = false;
        qreal alpha = 0;
        RVProgress::run(
            screen.get(), u"登录中"_s,
            [&] {
                platform::MainThread::post([&] {
                    overlayUp = ZtProgressHUD::HUDForView(view) != nullptr;
                    alpha = shownAlpha(screen->content);
                    handled = true;
                });
            },
            [](Screen &) {});
        QTRY_VERIFY(handled);
        QVERIFY(overlayUp);
        QCOMPARE(alpha, 0.4);
        QTRY_VERIFY(!ZtProgressHUD::HUDForView(view));
    }

    // A tip over the navigation container stays after the screen that showed it is gone,
    // lets touches through, and hides by itself after about three seconds.
    void tipOutlivesScreenAndHidesItself()
    {
        auto probe = std::make_shared<Probe>();
        ui::View *container = m_nav->view();
        QElapsedTimer clock;
        {
            auto screen = pushScreen(probe);
            clock.start();
            RVProgress::tipMessage(u"登录成功"_s, container);
            m_nav->popViewControllerAnimated(false);
        }
        settle();
        QCOMPARE(probe->events(), QStringList{u"destroyed"_s});

        ZtProgressHUD *tip = ZtProgressHUD::HUDForView(container);
        QVERIFY(tip);
        QCOMPARE(tip->alpha(), 1.0);
        QCOMPARE(tip->labelText(), u"登录成功"_s);
        QCOMPARE(tip->mode(), ZtProgressHUDMode::Text);
        QVERIFY(!tip->indicator());
        QCOMPARE(tip->margin(), 8.0);
        QCOMPARE(tip->yOffset(), 170.0);
        QVERIFY(!tip->dimBackground());
        QVERIFY(!tip->square());
        QVERIFY(!tip->isUserInteractionEnabled());
        const QPoint onTip =
            tip->mapTo(m_window.get(), tip->currentLayout().box.center().toPoint());
        QWidget *hit = m_window->childAt(onTip);
        QVERIFY(hit);
        QVERIFY(hit != tip && !tip->isAncestorOf(hit));

        QPointer<ZtProgressHUD> guard(tip);
        QTRY_VERIFY_WITH_TIMEOUT(!ZtProgressHUD::HUDForView(container), 5000);
        QVERIFY2(clock.elapsed() >= 2900, qPrintable(QString::number(clock.elapsed())));
        QTRY_VERIFY(guard.isNull());
    }

    void runHandsTheValueToTheFinish_data()
    {
        QTest::addColumn<bool>("returnsValue");
        QTest::addColumn<bool>("overContent");
        QTest::newRow("a value, overlay over the screen") << true << false;
        QTest::newRow("a value, overlay over a given view") << true << true;
        QTest::newRow("nothing returned, finish takes the screen only") << false << false;
    }

    // The work runs on a worker with its copies and returns; only the finish, on the main
    // thread with the overlay still up, assigns the screen. Nothing of the screen changes
    // while the work runs.
    void runHandsTheValueToTheFinish()
    {
        QFETCH(bool, returnsValue);
        QFETCH(bool, overContent);
        auto screen = pushScreen(std::make_shared<Probe>());
        ui::View *covered = overContent ? screen->content : screen->view();
        QSemaphore started;
        QSemaphore gate;
        std::atomic<QThread *> workThread{nullptr};
        QThread *finishThread = nullptr;
        bool overlayUpInFinish = false;
        const QStringList input{u"协和医院"_s, u"同仁医院"_s};
        auto wait = [&] {
            workThread = QThread::currentThread();
            started.release();
            gate.acquire();
        };
        auto seeOverlay = [&] {
            finishThread = QThread::currentThread();
            overlayUpInFinish = ZtProgressHUD::HUDForView(covered) != nullptr;
        };
        std::shared_ptr<RVProgress> progress;
        ui::View *given = overContent ? screen->content : nullptr;
        if (returnsValue) {
            progress = RVProgress::run(
                screen.get(), given, u"加载中"_s,
                [wait, input] {
                    wait();
                    return input + QStringList{u"天坛医院"_s};
                },
                [seeOverlay](Screen &self, QStringList rows) {
                    seeOverlay();
                    self.rows = std::move(rows);
                });
        } else {
            progress =
                RVProgress::run(screen.get(), given, u"加载中"_s, wait, [seeOverlay](Screen &self) {
                    seeOverlay();
                    self.result = 7;
                });
        }
        QVERIFY(progress);
        QVERIFY(started.tryAcquire(1, 5000));
        QVERIFY(workThread.load() != mainThread());
        ZtProgressHUD *hud = ZtProgressHUD::HUDForView(covered);
        QVERIFY(hud);
        QCOMPARE(hud->frame(), covered->bounds());
        QVERIFY(hud->dimBackground());
        QCOMPARE(hud->labelText(), u"加载中"_s);
        QCOMPARE(shownAlpha(hud), 1.0);
        QPointer<ZtProgressHUD> guard(hud);
        QVERIFY(screen->rows.isEmpty());
        QCOMPARE(screen->result, 0);

        gate.release();
        QTRY_VERIFY(!progress->isRunning());
        QCOMPARE(finishThread, mainThread());
        QVERIFY(overlayUpInFinish);
        if (returnsValue)
            QCOMPARE(screen->rows, input + QStringList{u"天坛医院"_s});
        else
            QCOMPARE(screen->result, 7);
        QTRY_VERIFY(!ZtProgressHUD::HUDForView(covered));
        QCOMPARE(shownAlpha(screen->content), 1.0);
        QTRY_VERIFY(guard.isNull());
    }

    void keepsScreenUntilFinish_data()
    {
        QTest::addColumn<bool>("withOverlay");
        QTest::newRow("run behind the overlay") << true;
        QTest::newRow("fetch of a further page, no overlay") << false;
    }

    // A screen popped while its work runs lives until its finish has run, then goes on the
    // main thread. A fetch shows no overlay and fades nothing.
    void keepsScreenUntilFinish()
    {
        QFETCH(bool, withOverlay);
        auto probe = std::make_shared<Probe>();
        QSemaphore started;
        QSemaphore gate;
        {
            auto screen = pushScreen(probe);
            auto work = [&started, &gate] {
                started.release();
                gate.acquire();
                return 8;
            };
            auto finish = [probe](Screen &self, int count) {
                self.result = count;
                self.view()->setNeedsDisplay(); // touches the screen's view
                probe->append(u"finish:"_s + QString::number(count));
            };
            if (withOverlay)
                QVERIFY(RVProgress::run(screen.get(), u"加载中"_s, work, finish));
            else
                QVERIFY(RVProgress::fetch(screen.get(), work, finish));
            QVERIFY(started.tryAcquire(1, 5000));
            QCOMPARE(ZtProgressHUD::HUDForView(screen->view()) != nullptr, withOverlay);
            QCOMPARE(shownAlpha(screen->content), withOverlay ? 0.4 : 1.0);
            QVERIFY(m_nav->popViewControllerAnimated(false));
        }
        settle();
        QVERIFY(probe->events().isEmpty());

        gate.release();
        QTRY_VERIFY(probe->destroyedOn.load() != nullptr);
        QCOMPARE(probe->events(), QStringList({u"finish:8"_s, u"destroyed"_s}));
        QCOMPARE(probe->destroyedOn.load(), mainThread());
    }

    // Started from a worker by mistake, the use still shows its overlay and finishes on the
    // main thread.
    void runStartedFromAWorker()
    {
        auto screen = pushScreen(std::make_shared<Probe>());
        QThread *finishThread = nullptr;
        bool overlayInFinish = false;
        std::thread([&] {
            QVERIFY(RVProgress::run(
                screen.get(), u"加载中"_s, [] { return 5; },
                [&](Screen &self, int value) {
                    finishThread = QThread::currentThread();
                    overlayInFinish = ZtProgressHUD::HUDForView(self.view()) != nullptr;
                    self.result = value;
                }));
        }).join();
        QTRY_COMPARE(screen->result, 5);
        QCOMPARE(finishThread, mainThread());
        QVERIFY(overlayInFinish);
    }

    // A screen nobody owns through a shared pointer cannot be kept alive: refused, not run.
    void runRefusesAnUnownedScreen()
    {
        Screen screen(std::make_shared<Probe>());
        std::atomic_bool ran{false};
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"shared pointer"_s));
        const auto progress = RVProgress::run(
            &screen, u"加载中"_s, [&ran] { ran = true; }, [](Screen &) {});
        QVERIFY(!progress);
        QTest::qWait(50);
        QVERIFY(!ran);
    }

    // Quitting while a load waits in the network layer on a service that never answers: the
    // stop handler aborts the transfer, the pool joins long before the exchange's time-out,
    // the finish no longer runs and the overlay goes.
    void quittingDuringALoadSkipsTheFinish()
    {
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        RVCurlNetworkLayer layer;
        platform::WorkPool pool;
        pool.setStopHandler([&layer] { layer.abortAll(); });
        auto screen = pushScreen(std::make_shared<Probe>());
        bool finished = false;
        auto progress = RVProgress::run(
            screen.get(), u"加载中"_s,
            [&layer, url = QUrl(u"http://127.0.0.1:%1/"_s.arg(silent.serverPort()))] {
                return RVHttpExchange::postBlocking(url, {}, {}, &layer).transportError;
            },
            [&finished](Screen &, bool) { finished = true; });
        QTRY_VERIFY(silent.hasPendingConnections());
        QElapsedTimer clock;
        clock.start();
        QVERIFY(pool.shutdown(std::chrono::milliseconds(5000)));
        QVERIFY(clock.elapsed() < 5000);
        QTRY_VERIFY(!progress->isRunning());
        QVERIFY(!finished);
        QTRY_VERIFY(!ZtProgressHUD::HUDForView(screen->view()));
        // Work offered after the stop is not run at all.
        std::atomic_bool ran{false};
        auto late = RVProgress::run(
            screen.get(), u"加载中"_s, [&ran] { ran = true; }, [](Screen &) {});
        QVERIFY(late && !late->isRunning());
        QVERIFY(!ZtProgressHUD::HUDForView(screen->view()));
        QTest::qWait(50);
        QVERIFY(!ran);
    }

    void tipWithoutViewIsReported()
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"tipMessage without a view"_s));
        RVProgress::tipMessage(u"没有这位医生"_s, nullptr);
    }
};

QTEST_MAIN(TestRVProgress)
#include "tst_rvprogress.moc"
