// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvloginvalues.h"

#include <QString>

#include <functional>

class RVNetworkLayer;

// What a client does when the service refuses a user's transaction because its login key is
// no longer the user's (a login on another device handed out a new one). The refused
// transaction was not applied, so after one new login with the saved name and password it
// may be sent again. Only when the service says that name and password are wrong is the user
// logged out (through the logout handler, which the application points at its one logout
// operation), and every screen that follows the login state shows it; when the new login fails
// for any other reason (no connection, a time-out, the service unavailable for a moment) the
// login stays as it is and the transaction fails with that reason. One renewal at a time: clients
// refused together share the first one's new key instead of each logging in and replacing the key
// the others got.
namespace RVLoginRenewal
{
// The service's message for a transaction sent with a key it no longer knows.
QString refusedKeyMessage();
// The service's refusal of a login whose name or password is wrong.
QString refusedLoginMessage();

// What logs the user out when the saved login is refused; by default the login state's own
// logout. Set at start, before any worker runs.
void setLogoutHandler(std::function<void()> handler);

// Called with the login values the refused transaction went out with. True when the user
// is logged in again with a key other than the refused one: the caller sends the
// transaction once more with the current login values. False when nothing may be resent
// (nobody is logged in, or the new login failed); a failure that kept the login gives its
// message in failure.
[[nodiscard]] bool renew(const RVLoginValues::Pair &refused, RVNetworkLayer *layer,
                         QString *failure = nullptr);
} // namespace RVLoginRenewal
