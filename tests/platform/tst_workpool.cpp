// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "platform/workpool.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <QTest>
#include <QThread>

#include <atomic>

using namespace std::chrono_literals;

class TestWorkPool : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The pool made last is the current one; when it goes the one before comes back.
    void currentFollowsTheOwner()
    {
        platform::WorkPool &before = platform::WorkPool::current();
        {
            platform::WorkPool outer;
            QCOMPARE(&platform::WorkPool::current(), &outer);
            {
                platform::WorkPool inner;
                QCOMPARE(&platform::WorkPool::current(), &inner);
            }
            QCOMPARE(&platform::WorkPool::current(), &outer);
        }
        QCOMPARE(&platform::WorkPool::current(), &before);
    }

    // Jobs run off the main thread, several at once (a slow exchange does not queue a
    // second one behind it).
    void jobsRunOnWorkersSideBySide()
    {
        platform::WorkPool pool;
        QSemaphore inside;
        QSemaphore gate;
        std::atomic<int> offMain{0};
        for (int i = 0; i < 3; ++i) {
            QVERIFY(pool.start([&] {
                if (QThread::currentThread() != QCoreApplication::instance()->thread())
                    ++offMain;
                inside.release();
                gate.acquire();
            }));
        }
        QVERIFY(inside.tryAcquire(3, 5000));
        QCOMPARE(pool.activeCount(), 3);
        gate.release(3);
        QVERIFY(pool.shutdown(5s));
        QCOMPARE(offMain.load(), 3);
    }

    // The owner's stop handler runs once nothing new starts and before the join: a job that
    // waits on something the handler ends (the network transfers) lets the pool join.
    void stopHandlerEndsOtherWaits()
    {
        platform::WorkPool pool;
        QSemaphore started;
        QSemaphore transfer; // stands for a transfer under way
        std::atomic_bool stoppingSeenByHandler{false};
        pool.setStopHandler([&] {
            stoppingSeenByHandler = pool.isStopping();
            transfer.release();
        });
        pool.start([&] {
            started.release();
            transfer.acquire();
        });
        QVERIFY(started.tryAcquire(1, 5000));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(pool.shutdown(5s));
        QVERIFY(clock.elapsed() < 5000);
        QVERIFY(stoppingSeenByHandler);
    }

    // Once stopping, nothing new runs and queued jobs are dropped.
    void stoppedPoolRunsNothing()
    {
        platform::WorkPool pool;
        QVERIFY(pool.shutdown(1s));
        std::atomic_bool ran{false};
        QVERIFY(!pool.start([&] { ran = true; }));
        QTest::qWait(50);
        QVERIFY(!ran);
    }

    // A job that ignores the stop is waited for only as long as the bound; asked again once
    // it has ended, the pool joins.
    void shutdownIsBounded()
    {
        platform::WorkPool pool;
        QSemaphore started;
        QSemaphore gate;
        pool.start([&] {
            started.release();
            gate.acquire();
        });
        QVERIFY(started.tryAcquire(1, 5000));
        QElapsedTimer clock;
        clock.start();
        QTest::ignoreMessage(QtWarningMsg,
                             "work pool: threads still busy after 200 ms; left to the exit");
        QVERIFY(!pool.shutdown(200ms));
        QVERIFY(clock.elapsed() < 3000);
        gate.release();
        QVERIFY(pool.shutdown(5s));
    }
};

QTEST_GUILESS_MAIN(TestWorkPool)
#include "tst_workpool.moc"
