// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "platform/platformlog.h"

Q_LOGGING_CATEGORY(lcDefaults, "rv.platform.defaults", QtInfoMsg)
Q_LOGGING_CATEGORY(lcNotifications, "rv.platform.notifications", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSecrets, "rv.platform.secrets", QtInfoMsg)
Q_LOGGING_CATEGORY(lcWork, "rv.platform.work", QtInfoMsg)
