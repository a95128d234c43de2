// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicesharedcheck.h"

QByteArray RVServiceSharedCheck::answer(const std::function<QByteArray()> &check)
{
    std::unique_lock lock(m_lock);
    // Checks run one at a time; one already under way began before this call and is no use.
    const quint64 wanted = m_started + 1;
    while (m_finished < wanted) {
        if (m_started > m_finished) {
            m_done.wait(lock);
            continue;
        }
        ++m_started; // this caller runs the next check, for itself and whoever waits
        lock.unlock();
        QByteArray result = check();
        lock.lock();
        m_answer = std::move(result);
        ++m_finished;
        m_done.notify_all();
    }
    return m_answer;
}
