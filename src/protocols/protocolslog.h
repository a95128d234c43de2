// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QLoggingCategory>

// Diagnostics of the service client; quiet below info unless QT_LOGGING_RULES says otherwise.
Q_DECLARE_LOGGING_CATEGORY(lcProtocol) // "rv.protocols": exchanges and their outcomes
Q_DECLARE_LOGGING_CATEGORY(lcNetwork)  // "rv.protocols.network": transfers and their failures
Q_DECLARE_LOGGING_CATEGORY(lcUserInfo) // "rv.protocols.userinfo": the user record
