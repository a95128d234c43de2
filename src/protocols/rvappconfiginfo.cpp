// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvappconfiginfo.h"

#include "platform/userdefaults.h"
#include "protocols/protocolslog.h"
#include "protocols/rvloginstate.h"

using namespace Qt::StringLiterals;
using platform::UserDefaults;

namespace
{
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
    // A destructor cannot report the failure to its caller; the log keeps it.
    if (m_infoChanged && !saveNSUserDefaults())
        qCWarning(lcUserInfo) << "the changed login state could not be saved";
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

bool RVAppConfigInfo::saveNSUserDefaults()
{
    // The three keys in one write, so that no other save lands between them.
    QJsonObject values{{keyLoginSuccess, m_lastLoginSuccess}};
    if (m_userInfo)
        values.insert(keyUserInfo, *m_userInfo);
    if (!m_password.isNull())
        values.insert(keyPassword, m_password);
    const bool saved = UserDefaults::standardUserDefaults().setObjectsAndSynchronize(values);
    // What is saved need not be written again when the record goes; what failed to save is
    // not retried then either (the failure was logged and reported here).
    m_infoChanged = false;
    return saved;
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
    return RVLoginState::isLogined();
}

void RVAppConfigInfo::setUserLoginStats(bool logined)
{
    RVLoginState::setLogined(logined);
}

bool RVAppConfigInfo::savedLastLoginSuccess()
{
    return RVAppConfigInfo().lastLoginSuccess();
}
