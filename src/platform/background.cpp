// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "platform/background.h"
#include "platform/mainthread.h"
#include "platform/platformlog.h"
#include "platform/workpool.h"

#include <QPointer>
#include <QSemaphore>

#include <exception>

namespace platform
{

namespace
{

// Work or a finish that throws is reported, rather than ending the process on a worker.
template <class Call> auto guarded(const char *what, Call &&call) -> decltype(call())
{
    try {
        return call();
    } catch (const std::exception &error) {
        qCWarning(lcWork) << what << "failed:" << error.what();
    } catch (...) {
        qCWarning(lcWork) << what << "failed";
    }
    return decltype(call())();
}

} // namespace

Background::Background(QObject *context) : m_context(context) {}

Background::~Background() = default;

bool Background::quitting()
{
    return WorkPool::current().isStopping();
}

bool Background::runAndWait(std::function<void()> job)
{
    QSemaphore done;
    const bool started = WorkPool::current().start([&job, &done] {
        guarded("background work", [&] { job(); });
        done.release();
    });
    if (started)
        done.acquire();
    return started;
}

bool Background::start(QObject *context, Job job, std::function<bool()> wanted)
{
    QPointer<QObject> guard(context);
    const bool followed = context != nullptr;
    // What the work and its finish carried is released on the main thread, after the finish:
    // a screen or model captured there is never destroyed on a worker.
    return WorkPool::current().start([guard = std::move(guard), followed, job = std::move(job),
                                      wanted = std::move(wanted)]() mutable {
        Apply apply = guarded("background work", [&] { return job(); });
        MainThread::post([guard = std::move(guard), followed, job = std::move(job),
                          apply = std::move(apply), wanted = std::move(wanted)]() mutable {
            if (apply && (!followed || guard) && (!wanted || wanted()))
                guarded("finish of background work", [&] { apply(); });
            apply = nullptr;
            job = nullptr;
        });
    });
}

} // namespace platform
