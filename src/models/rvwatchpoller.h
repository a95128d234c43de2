// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvuserstore.h"
#include "models/rvwatch.h"
#include "platform/background.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

// Asks the service, for one user's watches, whether their half-days take bookings again: a
// round at a time, each round on a worker, one "B008" per watched doctor, at most one round a
// minute (with random jitter, so that many clients do not ask together). While the service
// fails, the pause doubles up to ten minutes; a round that succeeds brings it back to the
// minute. The bounds are kept here whatever the caller asks. No timer runs while the user has
// no watch. A half-day that shows places again is reported once and its watch ends; nothing is
// ever booked here.
class RVWatchPoller final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVWatchPoller)

public:
    struct Timing {
        std::chrono::milliseconds interval{std::chrono::seconds(60)};
        std::chrono::milliseconds jitter{std::chrono::seconds(15)};
        std::chrono::milliseconds ceiling{std::chrono::minutes(10)};
        // These bounds: the interval never below the minute (except in test runs, which
        // shorten it to wait less), the pause never above ten minutes.
        Timing bounded() const;
    };
    // What one round found.
    struct Round {
        QList<RVWatch> hits; // ended by this round: places again, with the fresh schedule
        int requests = 0;
        bool failed = false; // a request failed; the round stopped there
        int remaining = 0;   // watches left after the round
    };

    explicit RVWatchPoller(RVUserStore user, QObject *parent = nullptr);
    ~RVWatchPoller() override;

    // The watches may have changed: the next round is scheduled when there are any, and
    // none when there are none.
    void refresh();
    // No more rounds; a round on its way is forgotten.
    void stop();
    bool isScheduled() const { return m_timer.isActive(); }
    void setTiming(const Timing &timing)
    {
        m_timing = timing.bounded();
        m_pause = m_timing.interval;
    }

    // One round, for a worker: ends the watches that are past or booked, asks each watched
    // doctor's schedules once, and ends the watches whose half-day takes bookings again.
    static Round round(const RVUserStore &user, const QDate &today);

Q_SIGNALS:
    void placesFound(const RVWatch &watch);
    void roundScheduled(qint64 milliseconds);

private:
    template <class Work, class Finish> void onWorker(Work work, Finish finish);
    void countWatches();
    void schedule();
    void startRound();
    void roundFinished(const Round &round);

    RVUserStore m_user;
    Timing m_timing;
    std::chrono::milliseconds m_pause;
    QTimer m_timer;
    bool m_roundRunning = false;
    bool m_recount = false;
    // One request at a time: a count or a round; cancelled at stop.
    platform::Background m_work{this};
};
