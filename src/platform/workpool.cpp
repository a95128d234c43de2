// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "platform/workpool.h"
#include "platform/platformlog.h"

#include <QThreadPool>

namespace platform
{

namespace
{

// Enough for a load, a page fetch and a login waiting on the service at once, without one
// slow exchange queueing the others behind it.
constexpr int kMaxThreads = 8;

std::atomic<WorkPool *> installed{nullptr};

} // namespace

WorkPool::WorkPool() : m_pool(new QThreadPool)
{
    m_pool->setMaxThreadCount(kMaxThreads);
    m_previous = installed.exchange(this);
}

WorkPool::~WorkPool()
{
    WorkPool *self = this;
    installed.compare_exchange_strong(self, m_previous);
    shutdown();
    if (m_joined)
        delete m_pool;
}

WorkPool &WorkPool::current()
{
    if (WorkPool *pool = installed.load())
        return *pool;
    // Built on first use and stopped (bounded) at exit like the application's own.
    static WorkPool fallback;
    return fallback;
}

bool WorkPool::start(std::function<void()> job)
{
    if (m_stopping.load()) {
        qCInfo(lcWork) << "work pool is stopping; a job was dropped";
        return false;
    }
    // A job queued just before the stop and taken just after it is dropped too.
    m_pool->start([this, job = std::move(job)] {
        if (!m_stopping.load())
            job();
    });
    return true;
}

int WorkPool::activeCount() const
{
    return m_pool->activeThreadCount();
}

bool WorkPool::shutdown(std::chrono::milliseconds bound)
{
    if (m_joined)
        return true;
    m_stopping.store(true);
    m_pool->clear();
    if (m_stopHandler)
        m_stopHandler();
    m_joined = m_pool->waitForDone(int(bound.count()));
    if (!m_joined)
        qCWarning(lcWork) << "work pool: threads still busy after" << bound.count()
                          << "ms; left to the exit";
    return m_joined;
}

} // namespace platform
