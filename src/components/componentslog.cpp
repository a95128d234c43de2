// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/componentslog.h"

Q_LOGGING_CATEGORY(lcAsynImage, "rv.components.asynimage", QtInfoMsg)
Q_LOGGING_CATEGORY(lcHud, "rv.components.hud", QtInfoMsg)
Q_LOGGING_CATEGORY(lcProgress, "rv.components.progress", QtInfoMsg)
