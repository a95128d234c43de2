// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QString>

// What the client and the service may write to a log, at any level: the texts of requests and
// replies with every secret and every personal value replaced, and login names shortened.
// Passwords ("mm", "yymm") and the session key ("gzmy") become "***", as do the identity
// number, the phone numbers, the postal address and post code, the names, the birth date, the
// e-mail address and the medical card number, whether the value is a text, a number or anything
// else. A login name ("yhm") keeps what loginName() keeps. See docs/patient-data.md.
namespace RVLogMasking
{
QString masked(const QString &jsonText);
// A login name as a log may carry it: its first three and last four characters around four
// asterisks ("138****8000") when at least four characters stay hidden that way, that is from
// eleven characters on; a shorter name is "****" whatever its length. Empty stays empty.
QString loginName(const QString &name);
} // namespace RVLogMasking
