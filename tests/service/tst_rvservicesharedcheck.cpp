// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// However many threads ask at once, each answer comes from a check that began after the call.
#include "service/rvservicesharedcheck.h"

#include <QTest>
#include <QThread>

#include <atomic>
#include <thread>
#include <vector>

class TestRVServiceSharedCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyAnswerIsNewerThanItsCall()
    {
        RVServiceSharedCheck shared;
        std::atomic<int> begun{0}, stale{0};
        const auto check = [&] {
            const int number = ++begun;
            QThread::usleep(200); // long enough for callers to arrive meanwhile
            return QByteArray::number(number);
        };
        std::vector<std::thread> threads;
        for (int t = 0; t < 8; ++t)
            threads.emplace_back([&] {
                for (int i = 0; i < 200; ++i) {
                    const int before = begun.load();
                    stale += shared.answer(check).toInt() <= before ? 1 : 0;
                }
            });
        for (std::thread &thread : threads)
            thread.join();
        QCOMPARE(stale.load(), 0);
        QVERIFY(begun.load() < 8 * 200); // and callers did share checks
    }
};

QTEST_GUILESS_MAIN(TestRVServiceSharedCheck)
#include "tst_rvservicesharedcheck.moc"
