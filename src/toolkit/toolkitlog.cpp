// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/toolkitlog.h"

Q_LOGGING_CATEGORY(lcToolkit, "rv.toolkit", QtInfoMsg)
