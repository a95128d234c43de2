// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicehttpbodybudget.h"

bool RVServiceHttpBodyBudget::take(qint64 bytes)
{
    qint64 used = m_inUse.load();
    do {
        if (bytes > m_bound - used)
            return false;
    } while (!m_inUse.compare_exchange_weak(used, used + bytes));
    return true;
}

void RVServiceHttpBodyBudget::give(qint64 bytes)
{
    m_inUse.fetch_sub(bytes);
}
