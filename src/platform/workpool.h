// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QtGlobal>

#include <atomic>
#include <chrono>
#include <functional>

class QThreadPool;

namespace platform
{

// The threads that run the screens' service work. The application owns one for its run (it
// makes one in main); whoever has none, a test for one, gets a process-wide pool. At quit the
// owner stops it: work not yet started is dropped, work waiting on the service is told to stop
// waiting through the owner's stop handler (the application aborts its network transfers),
// no finish of a screen runs any more, and the threads are joined within a bounded time, so
// quitting during a load neither hangs nor leaves a worker touching what the exit tears down.
class WorkPool final
{
public:
    // Becomes the current pool until it is destroyed.
    WorkPool();
    // Stops the pool with the default bound.
    ~WorkPool();
    Q_DISABLE_COPY_MOVE(WorkPool)

    static constexpr std::chrono::milliseconds defaultShutdownBound{3000};

    // The application's pool, or the process-wide one when none was made.
    static WorkPool &current();

    // Queues the job; false (job dropped) once the pool is stopping.
    bool start(std::function<void()> job);
    bool isStopping() const { return m_stopping.load(); }
    // Threads busy with a job now.
    int activeCount() const;

    // Run by shutdown once no new work starts, before the threads are joined: the owner ends
    // there what the jobs may wait on (the application stops its network transfers).
    void setStopHandler(std::function<void()> handler) { m_stopHandler = std::move(handler); }

    // Stops the pool and joins its threads; true when they all ended within the bound. Main
    // thread. A pool whose threads did not end is left to the exit rather than waited for.
    bool shutdown(std::chrono::milliseconds bound = defaultShutdownBound);

private:
    QThreadPool *m_pool;
    std::function<void()> m_stopHandler;
    std::atomic<bool> m_stopping{false};
    bool m_joined = false;
    WorkPool *m_previous = nullptr;
};

} // namespace platform
