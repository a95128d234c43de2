// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvwatchpoller.h"

#include "models/modelslog.h"
#include "models/rvschedulegrid.h"

#include <QHash>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <algorithm>

using namespace Qt::StringLiterals;
using std::chrono::milliseconds;

namespace
{
constexpr milliseconds kFloor = std::chrono::seconds(60);
constexpr milliseconds kCeiling = std::chrono::minutes(10);

QString doctorOf(const RVWatch &watch)
{
    return RVBaseInfo::text(watch.doctor().hospid()) + u'|' +
           RVBaseInfo::text(watch.doctor().ysdm());
}
} // namespace

RVWatchPoller::Timing RVWatchPoller::Timing::bounded() const
{
    Timing kept = *this;
    const milliseconds floor = QStandardPaths::isTestModeEnabled() ? milliseconds(1) : kFloor;
    kept.interval = std::clamp(interval, floor, kCeiling);
    kept.ceiling = std::clamp(ceiling, kept.interval, kCeiling);
    kept.jitter = std::clamp(jitter, milliseconds(0), kept.interval);
    return kept;
}

RVWatchPoller::RVWatchPoller(RVUserStore user, QObject *parent)
    : QObject(parent), m_user(std::move(user)), m_timing(Timing().bounded()),
      m_pause(m_timing.interval)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &RVWatchPoller::startRound);
}

RVWatchPoller::~RVWatchPoller() = default;

template <class Work, class Finish> void RVWatchPoller::onWorker(Work work, Finish finish)
{
    // The worker gets copies and returns a value; only the main thread touches the poller,
    // and only while it has not been stopped since.
    const bool started =
        m_work.run(std::move(work),
                   [this, finish = std::move(finish)](const auto &value) { finish(*this, value); });
    if (!started)
        qCInfo(lcBookingStore) << "watch: no worker; the rounds stop";
}

void RVWatchPoller::refresh()
{
    if (m_roundRunning)
        m_recount = true; // the round's own count may precede the change
    else
        countWatches();
}

void RVWatchPoller::stop()
{
    m_timer.stop();
    m_roundRunning = false;
    m_recount = false;
    m_work.cancel();
}

void RVWatchPoller::countWatches()
{
    onWorker([user = m_user] { return user.data().watches().size(); },
             [](RVWatchPoller &self, qsizetype count) {
                 if (count == 0)
                     self.m_timer.stop();
                 else if (!self.m_timer.isActive() && !self.m_roundRunning)
                     self.schedule();
             });
}

void RVWatchPoller::schedule()
{
    const auto jitter =
        milliseconds(QRandomGenerator::global()->bounded(qint64(m_timing.jitter.count()) + 1));
    const milliseconds delay = std::min(m_pause + jitter, m_timing.ceiling);
    m_timer.start(delay);
    Q_EMIT roundScheduled(delay.count());
}

void RVWatchPoller::startRound()
{
    m_roundRunning = true;
    onWorker([user = m_user] { return round(user, QDate::currentDate()); },
             [](RVWatchPoller &self, const Round &found) { self.roundFinished(found); });
}

void RVWatchPoller::roundFinished(const Round &found)
{
    m_roundRunning = false;
    m_pause = found.failed ? std::min(m_pause * 2, m_timing.ceiling) : m_timing.interval;
    if (found.failed)
        qCInfo(lcBookingStore) << "watch: the service failed; next round in about"
                               << m_pause.count() / 1000 << "s";
    if (found.remaining > 0)
        schedule();
    if (m_recount) {
        m_recount = false;
        countWatches();
    }
    for (const RVWatch &watch : found.hits)
        Q_EMIT placesFound(watch);
}

RVWatchPoller::Round RVWatchPoller::round(const RVUserStore &user, const QDate &today)
{
    const RVBookingStore &store = user.data();
    const QList<RVReservationInfo> bookings = store.bookings();
    Round found;
    QHash<QString, RVScheduleGrid::Schedules> answers;
    for (const RVWatch &watch : store.watches()) {
        if (watch.isPast(today) || watch.isBookedIn(bookings)) {
            store.removeWatch(watch.key());
            continue;
        }
        const QString doctor = doctorOf(watch);
        if (!answers.contains(doctor)) {
            // The bound holds even for a store that was filled past it some other way.
            if (found.requests >= RVWatch::kMaxWatches)
                break;
            ++found.requests;
            const auto outcome = RVScheduleGrid::load(RVBaseInfo::text(watch.doctor().hospid()),
                                                      RVBaseInfo::text(watch.doctor().ysdm()));
            if (!outcome.httpStats) {
                found.failed = true;
                break;
            }
            answers.insert(doctor, outcome.value);
        }
        // Reported only by the round that ended the watch: never twice, never after a removal.
        const auto fresh = watch.openIn(answers.value(doctor));
        if (fresh && store.removeWatch(watch.key()))
            found.hits.append(RVWatch(watch.doctor(), *fresh, watch.created()));
    }
    found.remaining = int(store.watches().size());
    return found;
}
