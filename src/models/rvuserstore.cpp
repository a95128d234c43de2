// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvuserstore.h"

#include "models/modelslog.h"
#include "platform/workpool.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvloginstate.h"

RVUserStore::RVUserStore(QString yhid, QString sjhm)
    : m_yhid(std::move(yhid)), m_sjhm(std::move(sjhm)), m_data(m_yhid)
{
}

RVUserStore RVUserStore::of(const RVUserInfo &user)
{
    return RVUserStore(RVBaseInfo::text(user.yhid()), RVBaseInfo::text(user.sjhm()));
}

RVUserStore RVUserStore::loggedIn()
{
    return RVLoginState::isLogined() ? of(RVAppConfigInfo().userInfo()) : RVUserStore();
}

RVUserStore RVUserStore::remembered()
{
    const RVAppConfigInfo config;
    if (!RVLoginState::isLogined() && !config.lastLoginSuccess())
        return {};
    return of(config.userInfo());
}

void RVUserStore::removeAll()
{
    RVBookingStore::endAll();
    const auto remove = [] {
        if (!RVBookingStore::removeEnded())
            qCWarning(lcBookingStore) << "a store could not be deleted at logout";
    };
    // A pool already stopping (the logout at quit) runs no job: deleted here, or never.
    if (!platform::WorkPool::current().start(remove))
        remove();
}
