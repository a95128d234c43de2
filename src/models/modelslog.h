// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QLoggingCategory>

// Diagnostics of the model library; quiet below info unless QT_LOGGING_RULES says otherwise.
Q_DECLARE_LOGGING_CATEGORY(lcBookingStore) // "rv.models.bookingstore": bookings on the device
