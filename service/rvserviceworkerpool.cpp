// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvserviceworkerpool.h"

#include <algorithm>

RVServiceWorkerPool::RVServiceWorkerPool(int threads)
{
    const int count = threads > 0
                          ? threads
                          : 2 * static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    for (int i = 0; i < count; ++i)
        m_threads.emplace_back([this] { serve(); });
}

RVServiceWorkerPool::~RVServiceWorkerPool()
{
    {
        std::lock_guard lock(m_lock);
        m_stopping = true;
    }
    m_ready.notify_all();
    for (std::thread &thread : m_threads)
        thread.join();
}

void RVServiceWorkerPool::run(std::function<void()> work)
{
    {
        std::lock_guard lock(m_lock);
        m_queue.push_back(std::move(work));
    }
    m_ready.notify_one();
}

void RVServiceWorkerPool::serve()
{
    for (;;) {
        std::function<void()> work;
        {
            std::unique_lock lock(m_lock);
            m_ready.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_queue.empty())
                return; // stopping, and nothing left in hand
            work = std::move(m_queue.front());
            m_queue.pop_front();
        }
        work();
    }
}
