// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QString>

// Refusals the client can tell apart only by their text, because the protocol gives them no
// code of their own. The service sends exactly these strings and the client compares against
// them, so both sides take them from here; the service's tests check that its answers still
// read so.
namespace RVServiceRefusals
{
// A transaction sent with a login key the service no longer knows.
inline QString sessionExpired()
{
    return QStringLiteral("登录已失效，请重新登录"); // untranslated: compared, never shown as ours
}

// A login whose name or password is wrong (the same for both: names are not disclosed).
inline QString wrongLogin()
{
    return QStringLiteral("帐户名或密码错误"); // untranslated: compared, never shown as ours
}
} // namespace RVServiceRefusals
