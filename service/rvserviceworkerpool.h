// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QtGlobal>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// The threads that run the service's transactions, so that requests are served on every
// core while the HTTP layer stays on its one event-loop thread. Each thread keeps its own
// database connection (see RVServiceDatabase) for as long as it lives, so the threads live as
// long as the pool: a connection is opened once per thread, not once per request. The
// destructor runs the work in hand and joins the threads, which ends with their connections
// closed by the threads themselves (a joined thread has run its thread-local destructors,
// which a finished QThread need not have done yet).
class RVServiceWorkerPool final
{
public:
    // threads < 1 means two per core.
    explicit RVServiceWorkerPool(int threads);
    ~RVServiceWorkerPool();
    Q_DISABLE_COPY_MOVE(RVServiceWorkerPool)

    int threads() const { return static_cast<int>(m_threads.size()); }
    // Queues the work; it runs on one of the threads.
    void run(std::function<void()> work);

private:
    void serve();

    std::mutex m_lock;
    std::condition_variable m_ready;
    std::deque<std::function<void()>> m_queue;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};
