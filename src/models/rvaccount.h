// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QJsonObject>
#include <QString>

// The end of a login, whether the user pressed the personal centre's button or the service
// refused the saved login when a refused login key was renewed: one operation, so that both
// leave the same. Of the user nothing stays on the device but the login name, which the login
// screen may offer again: the password goes from the keyring and the file, the saved record
// (identity number, session key, phone, birth date, address, name) is cut down to the name,
// and the stores of bookings, watches and reminders already shown are deleted. The login state
// turns false, on which the reminders take back every notification still shown.
class RVAccount final
{
public:
    enum class Reason {
        UserAsked,    // the button: the service is told, without waiting for its answer
        LoginRefused, // the service refused the saved login: it has no session left to end
    };

    // Any thread.
    static void logout(Reason reason);
    // Makes the renewal of a refused login key log out through logout() (at start).
    static void handleRefusedLogins();

    // What an account exchange came back with: accepted or not, and the client's message.
    struct Outcome {
        bool ok = false;
        QString message;
    };
    // Registers the account the record describes; for a worker.
    static Outcome registerUser(const QJsonObject &record);
    // Changes the user's password; for a worker.
    static Outcome changePassword(const QString &yhid, const QString &oldPassword,
                                  const QString &newPassword);
    // After a successful change the saved password becomes the new one, only when the saved
    // user has that id. True when it was replaced and written. Main thread, like every write
    // of the saved configuration.
    static bool keepNewPassword(const QString &yhid, const QString &newPassword);

    // The name the saved login is tried again with at start: only after a login that
    // succeeded, and only when a name is kept; empty when no automatic login is due.
    static QString automaticLoginName();
    // Logs in with that name and the password in the keyring, read here: the keyring may still
    // be answering its first read. False without a password or when refused. For a worker.
    static bool logInAgain(const QString &name);
};
