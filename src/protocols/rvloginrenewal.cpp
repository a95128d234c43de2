// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvloginrenewal.h"

#include "protocols/protocolslog.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvcipher.h"
#include "protocols/rvloginstate.h"
#include "protocols/rvprotocol.h"

#include <QMutex>

using namespace Qt::StringLiterals;

namespace
{
QMutex &renewalLock()
{
    static QMutex mutex;
    return mutex;
}
} // namespace

QString RVLoginRenewal::refusedKeyMessage()
{
    return u"登录已失效，请重新登录"_s; // untranslated: the service's own text, compared
}

bool RVLoginRenewal::renew(const RVLoginValues::Pair &refused, RVNetworkLayer *layer)
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
        qCInfo(lcProtocol) << "login key refused and no saved login to renew it; logged out";
        RVLoginState::applyOutcome(RVLoginState::beginAttempt(), RVLoginState::Outcome::Refused);
        return false;
    }
    qCInfo(lcProtocol) << "login key refused by the service; logging in again once";
    RVProtocol client;
    client.setNetworkLayer(layer);
    const auto user = client.login(name, password);
    // A logout while the login ran overtakes it: then nothing is resent either.
    return user && user->state() && RVLoginState::isLogined();
}
