// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvwatch.h"
#include "protocols/rvhospitalinfo.h"
#include "protocols/rvreservationinfo.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>

class RVBookingStoreFile;

// The bookings of one user kept on the device, so that they can be read without the service:
// a SQLite database of that user's own in the application's data folder, readable by the user
// alone. Each list the service gives is written over what is kept, in one transaction; a
// booking the service stops listing stays, no longer open. The hospitals of the
// bookings are kept beside them for the calendar, and the reminders already shown, so that
// each is shown once. Every change of the bookings is announced on the default notification
// center under changedNotificationName(), on the thread that made it. A file that is damaged or of
// another layout is thrown away and filled again from the service's next answer. Every operation
// opens its own connection, so any thread may use a store; operations of one process run one at a
// time. A store made before removeAll() does nothing after it. The application reaches a store
// through RVUserStore only.
class RVBookingStore final
{
public:
    using Bookings = QList<RVReservationInfo>;

    // A store for the user with that identifier; without one, a store that keeps nothing.
    explicit RVBookingStore(QString yhid);

    bool isValid() const { return !m_yhid.isEmpty(); }
    QString filePath() const;
    // The folder every user's store is in.
    static QString directory();

    // The bookings the service listed, in its order, at that time. False when nothing could be
    // written (the store is then as it was).
    bool saveList(const Bookings &bookings,
                  const QDateTime &when = QDateTime::currentDateTimeUtc()) const;
    // A booking the service cancelled: it stays, no longer open.
    bool markCancelled(const QString &yylsh) const;
    bool saveHospital(const RVHospitalInfo &hospital) const;

    // The last list's bookings in its order, then those it no longer held.
    Bookings bookings() const;
    std::optional<RVHospitalInfo> hospital(const QString &hospid) const;
    // When the service last gave the list.
    std::optional<QDateTime> lastRefresh() const;

    // The keys of the reminders already shown.
    QSet<QString> shownReminders() const;
    bool markReminderShown(const QString &key,
                           const QDateTime &when = QDateTime::currentDateTimeUtc()) const;
    // The user's watches on fully booked half-days, oldest first.
    QList<RVWatch> watches() const;
    // Keeps the watch unless that half-day is watched already or the user keeps
    // RVWatch::kMaxWatches: the bound holds whoever adds. Added and ended watches are announced
    // under RVWatch::changedNotification(), as bookings are.
    RVWatch::Added addWatch(const RVWatch &watch) const;
    // Ends the watch with that key; true only for the call that ended it. Makes no file: a
    // store deleted at logout stays deleted.
    bool removeWatch(const QString &key) const;

    // Deletes that user's store; true when none is left.
    static bool remove(const QString &yhid);
    // Deletes every user's store, those of users who logged in earlier on this device too;
    // true when none is left. Every store made before then is left without data.
    static bool removeAll();
    // removeAll() in two steps: at once, without waiting, every store made until now is ended
    // (reads and writes nothing); their files go at removeEnded(), or before the next operation
    // of a later store, whichever comes first.
    static void endAll();
    static bool removeEnded();

    // What keeps two bookings apart: the serial number, or where there is none, the slot.
    static QString keyOf(const RVReservationInfo &booking);
    static QString changedNotificationName();

private:
    QString m_yhid;
    quint64 m_session = 0;
};
