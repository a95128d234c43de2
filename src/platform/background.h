// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QObject>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

namespace platform
{

// The one way work leaves the main thread: the work runs on the application's WorkPool and
// RETURNS its value; the finish gets that value on the main thread, and only while the context
// object lives and the pool is not stopping. The shape of QtConcurrent::run(pool, work) with
// QFuture::then(context, finish), with a guard of our own: Qt 6.4's then() asserts when the
// context is destroyed before the work ends.
//
// An instance is one channel of requests owned by a screen or a model: the newest request
// wins, so a result that arrives after a later request started is dropped, whatever order the
// workers end in.
//
//     m_loads.run([id = m_id] { return fetch(id); },            // worker: copies in, value out
//                 [this](Outcome outcome) { show(outcome); }); // main thread, newest only
class Background final
{
public:
    // Finishes run only while context lives (null: no object to follow).
    explicit Background(QObject *context = nullptr);
    // Drops what is still on its way.
    ~Background();
    Q_DISABLE_COPY_MOVE(Background)

    // Starts a request and drops the result of every earlier one. finish(value), or finish()
    // for work returning nothing. Main thread. False when the pool is stopping (nothing runs).
    template <class Work, class Finish> bool run(Work work, Finish finish)
    {
        const quint64 ticket = ++*m_latest;
        std::weak_ptr<quint64> latest = m_latest;
        return once(m_context, std::move(work), std::move(finish),
                    [latest = std::move(latest), ticket] {
                        const auto current = latest.lock();
                        return current && *current == ticket && !quitting();
                    });
    }
    // The result of the request on its way, if any, is dropped.
    void cancel() { ++*m_latest; }

    // One request outside any channel: finish runs on the main thread while context lives and
    // wanted() (checked there, when given) holds, also while the pool stops: a caller that
    // must undo something (an overlay) still can. Callable from any thread.
    template <class Work, class Finish>
    static bool once(QObject *context, Work work, Finish finish, std::function<bool()> wanted = {})
    {
        Job job = [work = std::move(work), finish = std::move(finish)]() mutable -> Apply {
            using T = std::invoke_result_t<Work &>;
            if constexpr (std::is_void_v<T>) {
                work();
                return [finish = std::move(finish)]() mutable { finish(); };
            } else {
                // Shared, so that the main-thread half stays copyable whatever T is.
                auto value = std::make_shared<T>(work());
                return [finish = std::move(finish), value]() mutable { finish(std::move(*value)); };
            }
        };
        return start(context, std::move(job), std::move(wanted));
    }

    // For a command-line run with no event loop turning (before it starts, or without one):
    // runs work on the pool and waits here for its value; no event loop turns meanwhile.
    // Empty when the pool is stopping.
    template <class Work> static std::optional<std::invoke_result_t<Work &>> runAndWait(Work work)
    {
        std::optional<std::invoke_result_t<Work &>> value;
        if (!runAndWait(std::function<void()>([&] { value.emplace(work()); })))
            return std::nullopt;
        return value;
    }

private:
    static bool runAndWait(std::function<void()> job);
    using Apply = std::function<void()>;
    using Job = std::function<Apply()>;
    static bool start(QObject *context, Job job, std::function<bool()> wanted);
    static bool quitting();

    QObject *m_context;
    std::shared_ptr<quint64> m_latest = std::make_shared<quint64>(0);
};

} // namespace platform
