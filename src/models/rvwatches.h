// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvuserstore.h"
#include "models/rvwatch.h"

#include <QList>
#include <QSet>
#include <QString>

// The logged-in user's watches on fully booked half-days, kept in that user's store, which
// announces every watch added or ended (RVWatch::changedNotification()). Made on the main
// thread, where the login is read; its operations are for a worker. Without a login there is
// no watch, and none can be added.
class RVWatches final
{
public:
    // The watches of the user logged in now.
    static RVWatches ofLoggedInUser();

    bool hasUser() const { return m_user.hasUser(); }
    // Oldest first.
    QList<RVWatch> all() const;
    QSet<QString> keys() const;
    RVWatch::Added add(const RVWatch &watch) const;
    // True only for the call that ended it.
    bool remove(const QString &key) const;

private:
    explicit RVWatches(RVUserStore user) : m_user(std::move(user)) {}

    RVUserStore m_user;
};
