// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvuserstore.h"
#include "platform/background.h"
#include "protocols/rvhospitalinfo.h"
#include "protocols/rvreservationinfo.h"

#include <QHash>

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <optional>

namespace platform
{
class DesktopNotifier;
}

// Reminds the patient of the open bookings kept on the device while the application runs, as
// desktop notifications: one timer for the next moment, set again whenever the kept bookings
// or the login change. A reminder the notification service took is remembered in the store,
// so that a later start does not show it again. Reads the store alone; never asks the service.
// The bookings are the saved user's while that user's last login succeeded, so that a start
// without the service reminds too; a logout ends them (and takes back what is shown). The
// store is read and written on a worker, never on the interface's thread.
class RVReminders final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVReminders)

public:
    // The notifier stays the caller's and outlives this.
    explicit RVReminders(platform::DesktopNotifier *notifier, QObject *parent = nullptr);
    ~RVReminders() override;

Q_SIGNALS:
    // The user asked to see the booking of a reminder; none when it is no longer kept open.
    void viewRequested(const std::optional<RVReservationInfo> &booking);
    // The kept bookings were read again and the next reminder set.
    void loaded();

private:
    struct Kept {
        QList<RVReservationInfo> bookings;
        QSet<QString> shown;
        QHash<QString, RVHospitalInfo> hospitals;
    };
    static Kept read(const RVUserStore &user);
    void reload();
    void check();
    void onShown(const QString &key);
    void onActionInvoked(const QString &key);

    platform::DesktopNotifier *m_notifier;
    QTimer m_timer;
    RVUserStore m_user;
    // Shown before (from the store) and sent in this run, whatever came of them: a reminder
    // the service could not show is not tried again in a loop.
    Kept m_kept;
    platform::Background m_readings{this}; // the newest reading of the store wins
    QSet<QString> m_sent;
};
