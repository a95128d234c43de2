// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvwatches.h"

#include "models/rvbookingstore.h"
#include "protocols/rvappconfiginfo.h"

RVWatches RVWatches::ofLoggedInUser()
{
    if (!RVAppConfigInfo::userLogined())
        return RVWatches(QString());
    return RVWatches(RVBaseInfo::text(RVAppConfigInfo().userInfo().yhid()));
}

QList<RVWatch> RVWatches::all() const
{
    return hasUser() ? RVBookingStore(m_yhid).watches() : QList<RVWatch>();
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
    return hasUser() ? RVBookingStore(m_yhid).addWatch(watch) : RVWatch::Added::Failed;
}

bool RVWatches::remove(const QString &key) const
{
    return hasUser() && RVBookingStore(m_yhid).removeWatch(key);
}
