// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvuserinfo.h"

#include <QJsonObject>
#include <QString>

#include <optional>

// The little the client keeps on the device: the last logged-in user's record and whether the
// last login succeeded, in the per-application key-value store under "UserInfo" and
// "LoginSuccess", and that user's password in the desktop's keyring (platform::SecretStore,
// which falls back to the store's file where no keyring runs). Opening a record reads the saved
// values afresh (the password only when asked for: reading it may wait on the keyring, so never
// on the interface's thread); a changed record saves itself when it goes. The application-wide
// login state lives in memory only (RVLoginState, which applies each login outcome to both as one
// unit).
class RVAppConfigInfo final
{
public:
    RVAppConfigInfo();
    ~RVAppConfigInfo();
    Q_DISABLE_COPY_MOVE(RVAppConfigInfo)

    void readNSUserDefaults();
    // Writes the values in one step; false when the store could not be written.
    [[nodiscard]] bool saveNSUserDefaults();

    // Never none: with nothing saved, a record with every field absent.
    RVUserInfo userInfo() const;
    void setUserInfo(const RVUserInfo &info);
    // May wait for the keyring's first answer: not on the interface's thread.
    QString password() const;
    // A null password is not written, so setting none never erases a saved one.
    void setPassword(const QString &password);
    // Keeps of the user's record the login name alone (which the login screen may offer
    // again) and forgets the password, wherever it is kept.
    void forgetUserButName();
    bool lastLoginSuccess() const { return m_lastLoginSuccess; }
    void setLastLoginSuccess(bool value);
    bool infoChanged() const { return m_infoChanged; }

    static bool userLogined();
    static void setUserLoginStats(bool logined);
    static bool savedLastLoginSuccess();

private:
    std::optional<QJsonObject> m_userInfo;
    QString m_password;
    bool m_passwordSet = false;
    bool m_forgetPassword = false;
    bool m_lastLoginSuccess = false;
    bool m_infoChanged = false;
};
