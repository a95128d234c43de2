// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvloginstate.h"

#include "protocols/protocolslog.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvloginvalues.h"

#include <QMutex>

#include <atomic>

namespace
{

std::atomic<bool> isLoginedFlag{false};

// Guards the unit: the saved keys, the login values and the tickets.
QMutex &unitLock()
{
    static QMutex mutex;
    return mutex;
}
quint64 lastStarted = 0; // under unitLock
quint64 lastApplied = 0; // under unitLock

} // namespace

RVLoginState &RVLoginState::instance()
{
    static RVLoginState state;
    return state;
}

bool RVLoginState::isLogined()
{
    return isLoginedFlag.load();
}

void RVLoginState::setLogined(bool logined)
{
    QMutexLocker lock(&unitLock());
    announce(isLoginedFlag.exchange(logined), logined);
}

quint64 RVLoginState::beginAttempt()
{
    QMutexLocker lock(&unitLock());
    return ++lastStarted;
}

bool RVLoginState::applyOutcome(quint64 ticket, Outcome outcome, const RVUserInfo &user,
                                const QString &password)
{
    const bool accepted = outcome == Outcome::Accepted;
    bool saved = true;
    {
        QMutexLocker lock(&unitLock());
        if (ticket == 0)
            ticket = ++lastStarted; // an exchange that took no ticket counts as the newest
        if (ticket < lastApplied) {
            qCInfo(lcProtocol) << "login outcome overtaken by a later login or logout; ignored";
            return false;
        }
        lastApplied = ticket;
        if (accepted)
            RVLoginValues::set(RVBaseInfo::text(user.yhm()), RVBaseInfo::text(user.gzmy()));
        else
            RVLoginValues::clear();
        if (outcome == Outcome::Unanswered) {
            qCInfo(lcProtocol) << "login not answered; the saved login stays as it was";
        } else {
            RVAppConfigInfo config;
            if (accepted) {
                config.setUserInfo(user);
                config.setPassword(password);
            }
            config.setLastLoginSuccess(accepted);
            saved = config.saveNSUserDefaults();
        }
        announce(isLoginedFlag.exchange(accepted), accepted);
    }
    if (!saved)
        qCWarning(lcProtocol) << "the login could not be saved; it holds for this run only";
    return saved;
}

bool RVLoginState::applyLogout()
{
    bool saved = false;
    {
        QMutexLocker lock(&unitLock());
        // Every exchange started so far is overtaken by the logout.
        lastApplied = ++lastStarted;
        // Of the user nothing stays but the login name: on a shared computer the next person
        // must find neither the identity number nor the password.
        RVAppConfigInfo config;
        config.forgetUserButName();
        config.setLastLoginSuccess(false);
        saved = config.saveNSUserDefaults();
        announce(isLoginedFlag.exchange(false), false);
    }
    if (!saved)
        qCWarning(lcProtocol) << "the logout could not be saved";
    return saved;
}

void RVLoginState::observe(QObject *context, std::function<void(bool)> callback)
{
    // Queued to the context's thread whatever thread changed the state.
    QObject::connect(
        &instance(), &RVLoginState::changed, context,
        [callback = std::move(callback)](bool logined) { callback(logined); },
        Qt::QueuedConnection);
}

// Under the lock, so that observers hear the changes in the order they were made.
void RVLoginState::announce(bool before, bool after)
{
    if (before != after)
        Q_EMIT instance().changed(after);
}
