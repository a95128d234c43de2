// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvloginrenewal.h"

#include "protocols/protocolslog.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvcipher.h"
#include "protocols/rvloginstate.h"
#include "protocols/rvprotocol.h"
#include "protocols/rvservicerefusals.h"

#include <QMutex>

using namespace Qt::StringLiterals;

namespace
{
QMutex &renewalLock()
{
    static QMutex mutex;
    return mutex;
}

QMutex handlerLock;
std::function<void()> logoutHandler; // under handlerLock

void logOut()
{
    std::function<void()> handler;
    {
        QMutexLocker lock(&handlerLock);
        handler = logoutHandler;
    }
    if (handler)
        handler();
    else
        RVLoginState::applyLogout();
}
} // namespace

QString RVLoginRenewal::refusedKeyMessage()
{
    return RVServiceRefusals::sessionExpired();
}

QString RVLoginRenewal::refusedLoginMessage()
{
    return RVServiceRefusals::wrongLogin();
}

void RVLoginRenewal::setLogoutHandler(std::function<void()> handler)
{
    QMutexLocker lock(&handlerLock);
    logoutHandler = std::move(handler);
}

bool RVLoginRenewal::renew(const RVLoginValues::Pair &refused, RVNetworkLayer *layer,
                           QString *failure)
{
    QMutexLocker lock(&renewalLock());
    // A logged-out user stays logged out: no transaction brings the login back.
    if (!RVLoginState::isLogined())
        return false;
    const RVLoginValues::Pair now = RVLoginValues::current();
    if (now.dynamicKey != refused.dynamicKey && RVCipher::isUsableKey(now.dynamicKey))
        return true; // renewed by another client meanwhile
    RVAppConfigInfo config;
    const QString name = RVBaseInfo::text(config.userInfo().yhm());
    const QString password = config.password();
    if (name.isEmpty() || password.isEmpty() || name != refused.username) {
        qCInfo(lcProtocol) << "login key refused and no saved login to renew it; logging out";
        logOut();
        return false;
    }
    qCInfo(lcProtocol) << "login key refused by the service; logging in again once";
    RVProtocol client;
    client.setNetworkLayer(layer);
    const auto user = client.renewLogin(name, password);
    // A logout while the login ran overtakes it: then nothing is resent either.
    if (user && user->state())
        return RVLoginState::isLogined();
    if (client.loginOutcome() == RVLoginState::Outcome::Refused) {
        qCInfo(lcProtocol) << "the saved login was refused; logging out";
        logOut();
        return false;
    }
    qCInfo(lcProtocol) << "the login key could not be renewed now; the login stays";
    if (failure != nullptr)
        *failure = client.lastErrorMsg();
    return false;
}
