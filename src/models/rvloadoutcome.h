// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvprotocol.h"

#include <QString>

#include <utility>

// What a load found, copied out of the worker: the client's outcome and the value read.
template <class T> struct RVLoadOutcome {
    bool httpStats = false;
    QString httpErrorMessage;
    T value{};

    // The outcome of the client's last transaction with the value it returned.
    static RVLoadOutcome of(const RVProtocol &client, T value)
    {
        return {client.lastRepuestStats(), client.lastErrorMsg(), std::move(value)};
    }
};
