// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvbookingstore.h"
#include "protocols/rvuserinfo.h"

#include <QString>

// What the device keeps of one user (bookings with their hospitals, reminders shown, watches),
// with the identifiers the service asks for beside it: the only way to the user's store. It is
// taken on the main thread, where the login is read, and its data is read and written on
// workers only. A logout deletes every store; a store taken before it reads and writes nothing
// after it, so that a worker finishing late cannot bring the user's data back.
class RVUserStore final
{
public:
    // Nobody's: keeps nothing.
    RVUserStore() = default;
    static RVUserStore of(const RVUserInfo &user);
    // The logged-in user's; nobody's without a login.
    static RVUserStore loggedIn();
    // The user whose login is saved, also before the automatic login has run or when it could
    // not reach the service: the kept bookings and the reminders are shown all the same.
    static RVUserStore remembered();
    // The logout's end of every user's store: at once no store taken before reads or writes,
    // and the files are deleted on a worker (or before a later store's first operation).
    static void removeAll();

    bool hasUser() const { return m_data.isValid(); }
    const QString &yhid() const { return m_yhid; }
    const QString &sjhm() const { return m_sjhm; }
    // For a worker.
    const RVBookingStore &data() const { return m_data; }

private:
    RVUserStore(QString yhid, QString sjhm);

    QString m_yhid;
    QString m_sjhm;
    RVBookingStore m_data{QString()};
};
