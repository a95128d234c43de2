// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QtGlobal>

// A run of characters of a plain text, as location and length (the label's visible range).
struct RVMarkupRange {
    qsizetype location = 0;
    qsizetype length = 0;

    friend bool operator==(const RVMarkupRange &, const RVMarkupRange &) = default;
};
