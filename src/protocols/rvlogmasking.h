// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QString>

// What the service client may write to the debug log: the texts of requests and replies with
// every secret replaced. Passwords ("mm", "yymm") and the session key the login reply hands
// out ("gzmy") never reach a log, whether the value is a text, a number or anything else.
namespace RVLogMasking
{
QString masked(const QString &jsonText);
} // namespace RVLogMasking
