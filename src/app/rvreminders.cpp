// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "app/rvreminders.h"

#include "models/rvbookingstore.h"
#include "models/rvreminderschedule.h"
#include "platform/desktopnotifier.h"
#include "platform/notificationcenter.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvloginstate.h"

#include <QCoreApplication>
#include <QPointer>

#include <algorithm>

namespace
{
// A long wait is cut short and the schedule read again: a suspended machine's timer stands
// still while the clock goes on.
constexpr qint64 kLongestWaitMs = 10 * 60 * 1000;

QString remindedUser()
{
    const RVAppConfigInfo config;
    if (!RVLoginState::isLogined() && !config.lastLoginSuccess())
        return {};
    return RVBaseInfo::text(config.userInfo().yhid());
}
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

void RVReminders::reload()
{
    const QString yhid = remindedUser();
    if (yhid != m_yhid) {
        if (!m_yhid.isEmpty())
            m_notifier->closeAll();
        m_sent.clear();
        m_yhid = yhid;
    }
    const RVBookingStore store(m_yhid);
    m_bookings = store.bookings();
    m_shown = store.shownReminders();
    check();
}

void RVReminders::check()
{
    m_timer.stop();
    if (m_yhid.isEmpty())
        return;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const RVReminderSchedule schedule(m_bookings, m_shown | m_sent);
    const RVBookingStore store(m_yhid);
    for (const RVReminderSchedule::Reminder &reminder : schedule.due(now)) {
        m_sent.insert(reminder.key);
        const auto hospital = store.hospital(RVBaseInfo::text(reminder.booking.hospid()));
        m_notifier->notify(reminder.key, RVReminderSchedule::summary(),
                           RVReminderSchedule::bodyOf(reminder, hospital));
    }
    if (const auto next = schedule.next(now))
        m_timer.start(int(std::clamp(now.msecsTo(*next), qint64(0), kLongestWaitMs)));
}

void RVReminders::onShown(const QString &key)
{
    // Only this user's reminders of this run: the notifier may carry others' notifications.
    if (m_sent.contains(key) && RVBookingStore(m_yhid).markReminderShown(key))
        m_shown.insert(key);
}

void RVReminders::onActionInvoked(const QString &key)
{
    if (m_yhid.isEmpty() || !m_sent.contains(key))
        return;
    // The booking as kept now: it may have been cancelled since the reminder.
    const auto booking = RVReminderSchedule(m_bookings, {}).bookingOf(key);
    Q_EMIT viewRequested(booking);
}
