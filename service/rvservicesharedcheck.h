// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>

#include <condition_variable>
#include <functional>
#include <mutex>

// One check shared by the threads that ask for it at the same time. Each caller gets the
// answer of a check that began after it asked, so the answer is as fresh as one the caller
// would have got on its own; but callers that arrive while a check is under way wait for the
// next one together instead of each running their own. Used for the data version on a
// database server, where every check is a round trip.
class RVServiceSharedCheck final
{
public:
    QByteArray answer(const std::function<QByteArray()> &check);

private:
    std::mutex m_lock;
    std::condition_variable m_done;
    quint64 m_started = 0;
    quint64 m_finished = 0;
    QByteArray m_answer; // of the last check finished
};
