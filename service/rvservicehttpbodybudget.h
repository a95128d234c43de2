// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QtGlobal>

#include <atomic>

// The bytes of all request bodies being read at once, across the connections of one
// listener. A body's bytes are charged as they arrive and given back when its request is
// taken or dropped, so that many clients each sending part of a large body cannot together
// hold more than the bound, whatever sizes they declare: the one that would pass it is
// refused. Shared by the parsers that charge it; safe from any thread.
class RVServiceHttpBodyBudget final
{
public:
    explicit RVServiceHttpBodyBudget(qint64 bound) : m_bound(bound) {}

    // Charges the bytes; false, with nothing charged, when they would pass the bound.
    bool take(qint64 bytes);
    void give(qint64 bytes);
    qint64 inUse() const { return m_inUse.load(); }

private:
    const qint64 m_bound;
    std::atomic<qint64> m_inUse = 0;
};
