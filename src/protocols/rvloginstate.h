// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvuserinfo.h"

#include <QObject>
#include <QString>

#include <functional>

// The login state of the application as one unit: the saved user record, password and
// last-login flag, the login values every client uses, and the in-memory login state. Logins
// finish on workers (the automatic login, the login screen) while a logout may run on the main
// thread, so each outcome is applied whole under one lock: the password is changed in memory
// at once (the keyring's write follows on its own thread) and the two saved keys in one write;
// a reader never sees the record of one login with the password or key of another.
//
// Each exchange takes a ticket when it starts. An outcome is applied only if no exchange that
// started later, and no logout, has been applied meanwhile: a login that was overtaken by a
// newer login or by a logout changes nothing, so the state is never left true after a logout.
//
// A failure to reach the service (or to read its answer), or a refusal for any reason but a
// wrong name or password, is not a refusal of the login: the login has not happened, but the
// saved login is left as it was, so one start during an outage does not forget it.
class RVLoginState final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVLoginState)

public:
    enum class Outcome { Accepted, Refused, Unanswered };

    static RVLoginState &instance();

    static bool isLogined();
    // Sets the in-memory state alone (tests, and the class operation of the configuration).
    static void setLogined(bool logined);

    // Taken when a registration or login exchange starts.
    static quint64 beginAttempt();
    // Applies the outcome of the exchange that took the ticket. Accepted: saves the user record,
    // the password (a null one leaves the saved password as it is) and the flag true, sets the
    // login values from the record and the state true. Refused: saves the flag false, empties
    // the login values, state false. Unanswered: empties the login values, state false, saves
    // nothing. Returns false when the outcome was overtaken (nothing applied) or the save failed
    // (applied in memory, logged).
    static bool applyOutcome(quint64 ticket, Outcome outcome, const RVUserInfo &user = {},
                             const QString &password = {});
    // Forgets the password and the user's record but the login name, saves the flag false,
    // state false. The login values stay for the logout's own exchange, which is sent with
    // them.
    static bool applyLogout();

    // Calls back on the context's thread whenever the state changes, in the order of the
    // changes, until the context goes.
    static void observe(QObject *context, std::function<void(bool logined)> callback);

Q_SIGNALS:
    void changed(bool logined);

private:
    RVLoginState() = default;
    static void announce(bool before, bool after); // under the unit's lock
};
