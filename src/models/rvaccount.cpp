// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvaccount.h"

#include "models/rvuserstore.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvloginrenewal.h"
#include "protocols/rvloginstate.h"
#include "protocols/rvprotocol.h"

void RVAccount::logout(Reason reason)
{
    if (reason == Reason::UserAsked) {
        // The client records the logout at once and keeps itself alive until its exchange
        // ends; nobody waits for the answer.
        RVProtocol::create()->logout();
    } else {
        RVLoginState::applyLogout();
    }
    // Every store goes, not only this user's: on a shared computer the stores of users who
    // logged in before without logging out hold their bookings too, and nobody is logged in now.
    RVUserStore::removeAll();
}

RVAccount::Outcome RVAccount::registerUser(const QJsonObject &record)
{
    RVProtocol client;
    const std::optional<RVUserInfo> reply = client.userRegister(record);
    return {reply && reply->state(), client.lastErrorMsg()};
}

RVAccount::Outcome RVAccount::changePassword(const QString &yhid, const QString &oldPassword,
                                             const QString &newPassword)
{
    RVProtocol client;
    const bool ok = client.userPasswordModificationWithUserid(yhid, oldPassword, newPassword);
    return {ok, client.lastErrorMsg()};
}

bool RVAccount::keepNewPassword(const QString &yhid, const QString &newPassword)
{
    if (yhid.isEmpty() || newPassword.isEmpty())
        return false;
    RVAppConfigInfo config;
    if (RVBaseInfo::text(config.userInfo().yhid()) != yhid)
        return false;
    config.setPassword(newPassword);
    return config.saveNSUserDefaults();
}

QString RVAccount::automaticLoginName()
{
    RVAppConfigInfo config;
    return config.lastLoginSuccess() ? RVBaseInfo::text(config.userInfo().yhm()) : QString();
}

bool RVAccount::logInAgain(const QString &name)
{
    const QString password = RVAppConfigInfo().password();
    if (name.isEmpty() || password.isEmpty())
        return false;
    const auto reply = RVProtocol().login(name, password);
    return reply && reply->state();
}

void RVAccount::handleRefusedLogins()
{
    RVLoginRenewal::setLogoutHandler([] { logout(Reason::LoginRefused); });
}
