// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QLoggingCategory>

// The service's own log: one line per exchange, plus start-up and store failures.
Q_DECLARE_LOGGING_CATEGORY(lcService)
