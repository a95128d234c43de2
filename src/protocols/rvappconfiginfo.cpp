// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvappconfiginfo.h"

#include "platform/secretstore.h"
#include "platform/userdefaults.h"
#include "protocols/protocolslog.h"
#include "protocols/rvloginstate.h"

using namespace Qt::StringLiterals;
using platform::SecretStore;
using platform::UserDefaults;

namespace
{
const QString keyUserInfo = u"UserInfo"_s;
const QString keyLoginSuccess = u"LoginSuccess"_s;
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
    m_password = QString();
    m_passwordSet = false;
    m_forgetPassword = false;
}

bool RVAppConfigInfo::saveNSUserDefaults()
{
    // The password first: it is in memory at once, so no reader pairs the new record with the
    // previous password. The keyring's own write follows on its thread.
    if (m_forgetPassword)
        SecretStore::standard().removePassword();
    else if (m_passwordSet && !m_password.isNull())
        SecretStore::standard().setPassword(m_password);
    // The two keys in one write, so that no other save lands between them.
    QJsonObject values{{keyLoginSuccess, m_lastLoginSuccess}};
    if (m_userInfo)
        values.insert(keyUserInfo, *m_userInfo);
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

QString RVAppConfigInfo::password() const
{
    if (m_passwordSet || m_forgetPassword)
        return m_password;
    return SecretStore::standard().password();
}

void RVAppConfigInfo::setPassword(const QString &password)
{
    m_password = password;
    m_passwordSet = !password.isNull();
    m_forgetPassword = false;
    m_infoChanged = true;
}

void RVAppConfigInfo::forgetUserButName()
{
    QJsonObject kept;
    if (m_userInfo && m_userInfo->contains(u"yhm"_s))
        kept.insert(u"yhm"_s, m_userInfo->value(u"yhm"_s));
    m_userInfo = kept;
    m_password = QString();
    m_passwordSet = false;
    m_forgetPassword = true;
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
