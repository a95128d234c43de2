// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/modelslog.h"

Q_LOGGING_CATEGORY(lcBookingStore, "rv.models.bookingstore", QtInfoMsg)
