// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "platform/background.h"
#include "platform/workpool.h"

#include <QSemaphore>
#include <QTest>

#include <memory>

class TestBackground : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A request that ends after a newer one has started is dropped, whichever ends first;
    // a context gone before the finish drops it too.
    void onlyTheNewestReachesALivingContext_data()
    {
        QTest::addColumn<bool>("olderEndsLast");
        QTest::addColumn<bool>("contextGoes");
        QTest::newRow("older ends first") << false << false;
        QTest::newRow("older ends last") << true << false;
        QTest::newRow("context destroyed") << false << true;
    }
    void onlyTheNewestReachesALivingContext()
    {
        QFETCH(bool, olderEndsLast);
        QFETCH(bool, contextGoes);
        platform::WorkPool pool;
        auto context = std::make_unique<QObject>();
        platform::Background channel(context.get());
        QSemaphore olderMayEnd, newerMayEnd;
        QList<int> delivered;
        channel.run([&] { return olderMayEnd.acquire(), 1; }, [&](int v) { delivered << v; });
        channel.run([&] { return newerMayEnd.acquire(), 2; }, [&](int v) { delivered << v; });
        (olderEndsLast ? newerMayEnd : olderMayEnd).release();
        (olderEndsLast ? olderMayEnd : newerMayEnd).release();
        if (contextGoes)
            context.reset();
        QTRY_COMPARE(pool.activeCount(), 0);
        QCoreApplication::sendPostedEvents(); // the finishes the workers posted
        QCOMPARE(delivered, contextGoes ? QList<int>() : QList<int>{2});
    }

    // Once the pool stops nothing starts, and a cancelled request delivers nothing.
    void stoppedPoolAndCancelDeliverNothing()
    {
        platform::WorkPool pool;
        platform::Background channel;
        bool finished = false;
        QVERIFY(channel.run([] {}, [&] { finished = true; }));
        channel.cancel();
        QTRY_COMPARE(pool.activeCount(), 0);
        QCoreApplication::sendPostedEvents();
        QVERIFY(!finished);
        pool.shutdown();
        QVERIFY(!channel.run([] {}, [&] { finished = true; }));
    }
};

QTEST_GUILESS_MAIN(TestBackground)
#include "tst_background.moc"
