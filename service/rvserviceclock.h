// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QString>

// The local date and time as the replies write them. Every reply head carries them and every
// public query keys its answer by the day: formatting a QDateTime for each costs more than a
// whole answer from the reply cache, so each thread formats them once a second.
class RVServiceClock final
{
public:
    static QString compactDate(); // "yyyyMMdd"
    static QString compactTime(); // "HHmmss"
    static QString isoDate();     // "yyyy-MM-dd"
};
