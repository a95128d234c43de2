// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvloginvalues.h"

#include <QString>

class RVNetworkLayer;

// What a client does when the service refuses a user's transaction because its login key is
// no longer the user's (a login on another device handed out a new one). The refused
// transaction was not applied, so after one new login with the saved name and password it
// may be sent again; when that login is refused the user is logged out, and every screen that
// follows the login state shows it. One renewal at a time: clients refused together share the
// first one's new key instead of each logging in and replacing the key the others got.
namespace RVLoginRenewal
{
// The service's message for a transaction sent with a key it no longer knows.
QString refusedKeyMessage();

// Called with the login values the refused transaction went out with. True when the user
// is logged in again with a key other than the refused one: the caller sends the
// transaction once more with the current login values. False when nothing may be resent
// (nobody is logged in, or the new login failed).
[[nodiscard]] bool renew(const RVLoginValues::Pair &refused, RVNetworkLayer *layer);
} // namespace RVLoginRenewal
