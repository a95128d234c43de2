// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicelog.h"

Q_LOGGING_CATEGORY(lcService, "rv.service", QtInfoMsg)
