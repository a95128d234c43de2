// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "app/rvreminders.h"

#include "models/rvreminderschedule.h"
#include "platform/desktopnotifier.h"
#include "platform/notificationcenter.h"
#include "platform/workpool.h"
#include "protocols/rvloginstate.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QPointer>

#include <algorithm>

namespace
{
Q_LOGGING_CATEGORY(lcReminders, "rv.app.reminders", QtInfoMsg)

// A long wait is cut short and the schedule read again: a suspended machine's timer stands
// still while the clock goes on.
constexpr qint64 kLongestWaitMs = 10 * 60 * 1000;
} // namespace

RVReminders::RVReminders(platform::DesktopNotifier *notifier, QObject *parent)
    : QObject(parent), m_notifier(notifier)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RVReminders::check);
    connect(m_notifier, &platform::DesktopNotifier::shown, this, &RVReminders::onShown);
    connect(m_notifier, &platform::DesktopNotifier::actionInvoked, this,
            &RVReminders::onActionInvoked);
    connect(qApp, &QCoreApplication::aboutToQuit, &m_timer, &QTimer::stop);
    RVLoginState::observe(this, [this](bool) { reload(); });
    // The store changes on workers (a list read, a booking, a cancel): the reload is handed to
    // the main thread, where this lives, and dropped if this is gone by then.
    platform::NotificationCenter::defaultCenter().addObserver(
        this, RVBookingStore::changedNotificationName(), nullptr,
        [self = QPointer<RVReminders>(this)](const platform::Notification &) {
            QMetaObject::invokeMethod(
                qApp,
                [self] {
                    if (self)
                        self->reload();
                },
                Qt::QueuedConnection);
        });
    reload();
}

RVReminders::~RVReminders()
{
    platform::NotificationCenter::defaultCenter().removeObserver(this);
}

RVReminders::Kept RVReminders::read(const RVUserStore &user)
{
    const RVBookingStore &store = user.data();
    Kept kept{store.bookings(), store.shownReminders(), {}};
    for (const RVReservationInfo &booking : std::as_const(kept.bookings)) {
        const QString hospid = RVBaseInfo::text(booking.hospid());
        if (!kept.hospitals.contains(hospid))
            if (const auto hospital = store.hospital(hospid))
                kept.hospitals.insert(hospid, *hospital);
    }
    return kept;
}

void RVReminders::reload()
{
    const RVUserStore user = RVUserStore::remembered();
    if (user.yhid() != m_user.yhid()) {
        if (m_user.hasUser())
            m_notifier->closeAll();
        m_sent.clear();
        m_kept = {};
    }
    // Taken again each time: the same user's store after a logout and a new login is a new one.
    m_user = user;
    m_readings.run([user] { return user.hasUser() ? read(user) : Kept(); },
                   [this](Kept kept) {
                       m_kept = std::move(kept);
                       check();
                       Q_EMIT loaded();
                   });
}

void RVReminders::check()
{
    m_timer.stop();
    if (!m_user.hasUser())
        return;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const RVReminderSchedule schedule(m_kept.bookings, m_kept.shown | m_sent);
    for (const RVReminderSchedule::Reminder &reminder : schedule.due(now)) {
        m_sent.insert(reminder.key);
        const QString hospid = RVBaseInfo::text(reminder.booking.hospid());
        const auto hospital = m_kept.hospitals.contains(hospid)
                                  ? std::optional(m_kept.hospitals.value(hospid))
                                  : std::nullopt;
        m_notifier->notify(reminder.key, RVReminderSchedule::summary(),
                           RVReminderSchedule::bodyOf(reminder, hospital));
    }
    if (const auto next = schedule.next(now))
        m_timer.start(int(std::clamp(now.msecsTo(*next), qint64(0), kLongestWaitMs)));
}

void RVReminders::onShown(const QString &key)
{
    // Only this user's reminders of this run: the notifier may carry others' notifications.
    if (!m_sent.contains(key))
        return;
    m_kept.shown.insert(key);
    platform::WorkPool::current().start(
        [user = m_user, key] {
            if (!user.data().markReminderShown(key))
                qCInfo(lcReminders)
                    << "a shown reminder could not be kept; a later start shows it again";
        });
}

void RVReminders::onActionInvoked(const QString &key)
{
    if (!m_user.hasUser() || !m_sent.contains(key))
        return;
    // The booking as kept now: it may have been cancelled since the reminder.
    const auto booking = RVReminderSchedule(m_kept.bookings, {}).bookingOf(key);
    Q_EMIT viewRequested(booking);
}
