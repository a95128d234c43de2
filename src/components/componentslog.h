// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QLoggingCategory>

// Diagnostics of the interface components; quiet below info unless QT_LOGGING_RULES says
// otherwise.
Q_DECLARE_LOGGING_CATEGORY(lcAsynImage) // "rv.components.asynimage": photo downloads
Q_DECLARE_LOGGING_CATEGORY(lcHud)       // "rv.components.hud": the progress overlay
Q_DECLARE_LOGGING_CATEGORY(lcProgress)  // "rv.components.progress": screens' background work
