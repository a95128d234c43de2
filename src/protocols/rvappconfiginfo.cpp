// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvappconfiginfo.h"

#include "platform/userdefaults.h"

#include <atomic>

using namespace Qt::StringLiterals;
using platform::UserDefaults;

namespace
{
std::atomic<bool> isLogined{false};
const QString keyUserInfo = u"UserInfo"_s;
const QString keyLoginSuccess = u"LoginSuccess"_s;
const QString keyPassword = u"Password"_s;
} // namespace

RVAppConfigInfo::RVAppConfigInfo()
{
    readNSUserDefaults();
    m_infoChanged = false;
}

RVAppConfigInfo::~RVAppConfigInfo()
{
    if (m_infoChanged)
        saveNSUserDefaults();
}

void RVAppConfigInfo::readNSUserDefaults()
{
    const UserDefaults &store = UserDefaults::standardUserDefaults();
    const QJsonValue user = store.objectForKey(keyUserInfo);
    m_userInfo = user.isObject() ? std::optional<QJsonObject>(user.toObject()) : std::nullopt;
    m_lastLoginSuccess = store.boolForKey(keyLoginSuccess);
    const QJsonValue password = store.objectForKey(keyPassword);
    m_password = password.isString() ? password.toString() : QString();
}

void RVAppConfigInfo::saveNSUserDefaults()
{
    UserDefaults &store = UserDefaults::standardUserDefaults();
    if (m_userInfo)
        store.setObject(keyUserInfo, *m_userInfo);
    store.setObject(keyLoginSuccess, m_lastLoginSuccess);
    if (!m_password.isNull())
        store.setObject(keyPassword, m_password);
    store.synchronize();
    m_infoChanged = false; // what is saved need not be written again when the record goes
}

RVUserInfo RVAppConfigInfo::userInfo() const
{
    return RVBaseInfo::fromDictionary<RVUserInfo>(m_userInfo);
}

void RVAppConfigInfo::setUserInfo(const RVUserInfo &info)
{
    m_userInfo = info.body_dict();
    m_infoChanged = true;
}

void RVAppConfigInfo::setPassword(const QString &password)
{
    m_password = password;
    m_infoChanged = true;
}

void RVAppConfigInfo::setLastLoginSuccess(bool value)
{
    m_lastLoginSuccess = value;
    m_infoChanged = true;
}

bool RVAppConfigInfo::userLogined()
{
    return isLogined.load();
}

void RVAppConfigInfo::setUserLoginStats(bool logined)
{
    isLogined.store(logined);
}

bool RVAppConfigInfo::savedLastLoginSuccess()
{
    return RVAppConfigInfo().lastLoginSuccess();
}
