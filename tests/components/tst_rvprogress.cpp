// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "rvprogress.h"
#include "ztprogresshud.h"

#include "platform/mainthread.h"
#include "toolkit/animation.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/view.h"
#include "toolkit/window.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QRegularExpression>
#include <QSemaphore>
#include <QStandardPaths>
#include <QTest>

#include <atomic>
#include <memory>

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

    int result = 0;

private:
    std::shared_ptr<Probe> m_probe;
};

QThread *mainThread()
{
    return QCoreApplication::instance()->thread();
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

    void overlayAroundWork_data()
    {
        QTest::addColumn<bool>("withMode");
        QTest::addColumn<ZtProgressHUDMode>("mode");
        QTest::newRow("default spinner") << false << ZtProgressHUDMode::Indeterminate;
        QTest::newRow("given mode") << true << ZtProgressHUDMode::Determinate;
    }

    // While the work runs the screen is faded and covered by a dimming overlay with the text;
    // afterwards the screen is whole again and the overlay gone.
    void overlayAroundWork()
    {
        QFETCH(bool, withMode);
        QFETCH(ZtProgressHUDMode, mode);
        auto screen = pushScreen(std::make_shared<Probe>());
        ui::View *view = screen->view();
        QSemaphore started;
        QSemaphore gate;
        std::atomic<QThread *> workThread{nullptr};
        auto work = [&](RVProgress &) {
            workThread = QThread::currentThread();
            started.release();
            gate.acquire();
        };
        auto progress = RVProgress::create();
        if (withMode)
            progress->showWhileExecuting(work, screen, u"加载中"_s, mode);
        else
            progress->showWhileExecuting(work, screen, u"加载中"_s);
        QVERIFY(started.tryAcquire(1, 5000));
        QVERIFY(workThread.load() != mainThread());

        ZtProgressHUD *hud = ZtProgressHUD::HUDForView(view);
        QVERIFY(hud);
        QCOMPARE(progress->HUD(), hud);
        QCOMPARE(view->alpha(), 0.4);
        QCOMPARE(hud->alpha(), 1.0);
        QCOMPARE(hud->frame(), view->bounds());
        QVERIFY(hud->dimBackground());
        QVERIFY(hud->removeFromSuperViewOnHide());
        QCOMPARE(hud->labelText(), u"加载中"_s);
        QCOMPARE(hud->mode(), mode);

        QPointer<ZtProgressHUD> guard(hud);
        gate.release();
        QTRY_VERIFY(!ZtProgressHUD::HUDForView(view));
        QCOMPARE(view->alpha(), 1.0);
        QVERIFY(!progress->isRunning());
        QTRY_VERIFY(guard.isNull());
    }

    void finishRunsOnMainThreadBeforeHiding_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("with text") << u"预约中"_s;
        QTest::newRow("without text") << QString();
    }

    // The finish sees what the work left, runs on the main thread after main-thread work the
    // work queued, and before the overlay starts to go.
    void finishRunsOnMainThreadBeforeHiding()
    {
        QFETCH(QString, text);
        auto probe = std::make_shared<Probe>();
        auto screen = pushScreen(probe);
        ui::View *view = screen->view();
        QThread *finishThread = nullptr;
        QVariant seen;
        QVariant seenOther;
        bool overlayStillUp = false;
        qreal viewAlphaInFinish = 0;
        auto work = [probe](RVProgress &p) {
            p.setLastExectionVariable(true);
            p.setLastExectionOtherVariable(u"预约成功"_s);
            platform::MainThread::post([probe] { probe->append(u"queued"_s); });
            probe->append(u"work"_s);
        };
        auto finish = [&, probe](RVProgress &p) {
            probe->append(u"finish"_s);
            finishThread = QThread::currentThread();
            seen = p.lastExectionVariable();
            seenOther = p.lastExectionOtherVariable();
            ZtProgressHUD *hud = p.HUD();
            overlayStillUp = hud && hud->superview() == view && hud->alpha() == 1.0;
            viewAlphaInFinish = view->alpha();
        };
        auto progress = RVProgress::create();
        if (text.isNull())
            progress->showWhileExecuting(work, finish, screen, view);
        else
            progress->showWhileExecuting(work, finish, screen, view, text);
        QCOMPARE(ZtProgressHUD::HUDForView(view)->labelText(), text);
        QTRY_VERIFY(!ZtProgressHUD::HUDForView(view));
        QCOMPARE(probe->events(), QStringList({u"work"_s, u"queued"_s, u"finish"_s}));
        QCOMPARE(finishThread, mainThread());
        QCOMPARE(seen, QVariant(true));
        QCOMPARE(seenOther, QVariant(u"预约成功"_s));
        QVERIFY(overlayStillUp);
        QCOMPARE(viewAlphaInFinish, 0.4);
        QCOMPARE(view->alpha(), 1.0);
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
        RVProgress::create()->showWhileExecuting(
            [&](RVProgress &) {
                platform::MainThread::post([&] {
                    overlayUp = ZtProgressHUD::HUDForView(view) != nullptr;
                    alpha = view->alpha();
                    handled = true;
                });
            },
            screen, u"登录中"_s);
        QTRY_VERIFY(handled);
        QVERIFY(overlayUp);
        QCOMPARE(alpha, 0.4);
        QTRY_VERIFY(!ZtProgressHUD::HUDForView(view));
    }

    // A screen popped while its work runs stays alive through the work and its finish, and
    // goes afterwards, on the main thread. The work writes into the screen after the pop,
    // so a premature destruction shows up as a use after free under the sanitizer.
    void poppedScreenLivesUntilFinish()
    {
        auto probe = std::make_shared<Probe>();
        QSemaphore started;
        QSemaphore gate;
        {
            auto screen = pushScreen(probe);
            Screen *raw = screen.get();
            RVProgress::create()->showWhileExecuting(
                [raw, probe, &started, &gate](RVProgress &p) {
                    started.release();
                    gate.acquire();
                    raw->result = 42;
                    p.setLastExectionVariable(raw->result);
                    probe->append(u"work"_s);
                },
                [raw, probe](RVProgress &p) {
                    probe->append(u"finish:"_s + p.lastExectionVariable().toString());
                    raw->view()->setAlpha(raw->view()->alpha()); // touches the screen's view
                },
                screen, screen->view(), u"加载中"_s);
            QVERIFY(started.tryAcquire(1, 5000));
            QVERIFY(m_nav->popViewControllerAnimated(false));
        }
        settle();
        QCOMPARE(m_nav->viewControllers().size(), 1);
        QVERIFY(probe->events().isEmpty()); // alive: only the work holds it now

        gate.release();
        QTRY_VERIFY(probe->destroyedOn.load() != nullptr);
        QCOMPARE(probe->events(), QStringList({u"work"_s, u"finish:42"_s, u"destroyed"_s}));
        QCOMPARE(probe->destroyedOn.load(), mainThread());
    }

    void targetKinds_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("screen: its root view") << u"screen"_s;
        QTest::newRow("view: the view itself") << u"view"_s;
        QTest::newRow("no view: work runs without overlay") << u"object"_s;
    }

    void targetKinds()
    {
        QFETCH(QString, kind);
        std::shared_ptr<QObject> target;
        ui::View *expected = nullptr;
        if (kind == u"screen"_s) {
            auto screen = pushScreen(std::make_shared<Probe>());
            expected = screen->view();
            target = screen;
        } else if (kind == u"view"_s) {
            auto view = std::make_shared<ui::View>(QRectF(0, 0, 100, 100));
            expected = view.get();
            target = view;
        } else {
            target = std::make_shared<QObject>();
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"no view to cover"_s));
        }
        QSemaphore gate;
        std::atomic_bool ran{false};
        auto progress = RVProgress::create();
        progress->showWhileExecuting(
            [&](RVProgress &) {
                gate.acquire();
                ran = true;
            },
            target, u"加载中"_s);
        QCOMPARE(ZtProgressHUD::HUDForView(expected), progress->HUD());
        QCOMPARE(progress->HUD() != nullptr, expected != nullptr);
        gate.release();
        QTRY_VERIFY(!progress->isRunning());
        QVERIFY(ran);
        if (expected)
            QCOMPARE(expected->alpha(), 1.0);
    }

    void secondUseWhileRunningIsRefused()
    {
        auto screen = pushScreen(std::make_shared<Probe>());
        QSemaphore gate;
        std::atomic_int runs{0};
        auto work = [&](RVProgress &) {
            ++runs;
            gate.acquire();
        };
        auto progress = RVProgress::create();
        progress->showWhileExecuting(work, screen, u"加载中"_s);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"already running"_s));
        progress->showWhileExecuting(work, screen, u"加载中"_s);
        QCOMPARE(ZtProgressHUD::allHUDsForView(screen->view()).size(), 1);
        gate.release(2);
        QTRY_VERIFY(!progress->isRunning());
        QCOMPARE(runs.load(), 1);
        // Once over, the same instance may run again.
        progress->showWhileExecuting(work, screen, u"加载中"_s);
        QTRY_VERIFY(!progress->isRunning());
        QCOMPARE(runs.load(), 2);
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

    void tipWithoutViewIsReported()
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"tipMessage without a view"_s));
        RVProgress::tipMessage(u"没有这位医生"_s, nullptr);
    }
};

QTEST_MAIN(TestRVProgress)
#include "tst_rvprogress.moc"
