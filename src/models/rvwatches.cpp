// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvwatches.h"

RVWatches RVWatches::ofLoggedInUser()
{
    return RVWatches(RVUserStore::loggedIn());
}

QList<RVWatch> RVWatches::all() const
{
    return m_user.data().watches();
}

QSet<QString> RVWatches::keys() const
{
    QSet<QString> keys;
    for (const RVWatch &watch : all())
        keys.insert(watch.key());
    return keys;
}

RVWatch::Added RVWatches::add(const RVWatch &watch) const
{
    return m_user.data().addWatch(watch);
}

bool RVWatches::remove(const QString &key) const
{
    return m_user.data().removeWatch(key);
}
