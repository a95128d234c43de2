// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QLoggingCategory>

// Diagnostics of the interface toolkit ("rv.toolkit"): misuse that the toolkit survives, such
// as an unknown storyboard identifier or a missing picture, is reported here.
Q_DECLARE_LOGGING_CATEGORY(lcToolkit)
