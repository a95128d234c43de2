// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QLoggingCategory>

// Diagnostics of the platform services; quiet below info unless QT_LOGGING_RULES says otherwise.
Q_DECLARE_LOGGING_CATEGORY(lcDefaults)      // "rv.platform.defaults": the key-value store
Q_DECLARE_LOGGING_CATEGORY(lcNotifications) // "rv.platform.notifications": desktop notifications
Q_DECLARE_LOGGING_CATEGORY(lcSecrets)       // "rv.platform.secrets": the saved password
Q_DECLARE_LOGGING_CATEGORY(lcWork)          // "rv.platform.work": background work
