// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvuserinfo.h"
#include "protocols/rvuserregister.h"

#include <QJsonValue>
#include <QString>

// The checks the account forms make on the device before anything is sent: registration,
// profile and password change. Each form's checks run in a fixed order and the first that
// fails gives the message the user is shown; a null message lets the form go. Nothing typed
// is trimmed. The forms also build what they send, from the texts as typed.
namespace RVAccountChecks
{

struct Registration {
    QString username;
    QString password;
    QString secPassword;
    QString name;
    QString idcard;
    QString phone;
    QString address;
};
QString registrationProblem(const Registration &form);
// A whole number: leading white space, an optional sign, at least one digit, and nothing
// after the digits. The value may be too large for any integer type.
bool isPureInt(const QString &string);
// The registration record, its fields set in the order that lets the identity number fill
// the sex and the birth date.
RVUserRegister registrationRecord(const Registration &form);

// The four profile values being edited.
struct Profile {
    QString name;
    QString idcard;
    QString phone;
    QString address;
};
// A saved value as the profile form starts from it: absent stays null, so that it never
// equals what is typed.
QString savedText(const QJsonValue &value);
Profile savedProfile(const RVUserInfo &saved);
// The form of the identity and mobile numbers is not checked here: the service says.
QString profileProblem(const Profile &edited);
// True when all four values are those of the saved record; then nothing is sent.
bool profileUnchanged(const RVUserInfo &saved, const Profile &edited);
// The record the change sends: the saved user id and the four values being edited.
RVUserInfo profileRecord(const RVUserInfo &saved, const Profile &edited);

struct PasswordChange {
    QString yymm; // the old password
    QString mm;   // the new one
    QString secPassword;
};
// No minimum length here: the service says.
QString passwordProblem(const PasswordChange &form);
// True when the new password is the old one; then nothing is sent.
bool passwordUnchanged(const PasswordChange &form);

} // namespace RVAccountChecks
