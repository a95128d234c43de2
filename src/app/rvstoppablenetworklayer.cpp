// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "app/rvstoppablenetworklayer.h"

#include <atomic>
#include <limits>

using namespace Qt::StringLiterals;

namespace
{
constexpr quint64 stoppedTransfer = std::numeric_limits<quint64>::max();

RVNetworkLayer::Failure stoppedFailure()
{
    return {RVNetworkLayer::FailureKind::Other, u"the application is quitting"_s};
}
} // namespace

// Hands the events on and lets exactly one end through: the stop and the real layer may both
// end a transfer, and a sink is told only once.
class RVStoppableNetworkLayer::OnceSink final : public RVNetworkLayer::Sink
{
public:
    explicit OnceSink(std::shared_ptr<Sink> sink) : m_sink(std::move(sink)) {}

    void response(int statusCode, const QString &headers) override
    {
        if (!m_ended.load())
            m_sink->response(statusCode, headers);
    }
    void data(const QByteArray &bytes) override
    {
        if (!m_ended.load())
            m_sink->data(bytes);
    }
    void end(const Failure &failure) override
    {
        if (!m_ended.exchange(true))
            m_sink->end(failure);
    }
    bool ended() const { return m_ended.load(); }

private:
    std::shared_ptr<Sink> m_sink;
    std::atomic<bool> m_ended{false};
};

RVStoppableNetworkLayer::RVStoppableNetworkLayer(RVNetworkLayer *inner) : m_inner(inner) {}

RVStoppableNetworkLayer::~RVStoppableNetworkLayer()
{
    stop();
}

quint64 RVStoppableNetworkLayer::start(const Request &request, std::shared_ptr<Sink> sink)
{
    auto once = std::make_shared<OnceSink>(std::move(sink));
    {
        std::lock_guard lock(m_mutex);
        if (!m_stopped) {
            const quint64 id = m_inner->start(request, once);
            // Finished transfers are forgotten as later ones start; at most a handful wait.
            std::erase_if(m_running, [](const auto &entry) { return entry.second->ended(); });
            m_running.emplace(id, once);
            return id;
        }
    }
    once->end(stoppedFailure());
    return stoppedTransfer; // an identifier no transfer has; cancelling it does nothing
}

void RVStoppableNetworkLayer::cancel(quint64 transfer)
{
    std::lock_guard lock(m_mutex);
    m_running.erase(transfer);
    m_inner->cancel(transfer);
}

void RVStoppableNetworkLayer::stop()
{
    std::map<quint64, std::shared_ptr<OnceSink>> running;
    {
        std::lock_guard lock(m_mutex);
        m_stopped = true;
        running.swap(m_running);
        for (const auto &entry : running)
            m_inner->cancel(entry.first);
    }
    for (const auto &entry : running)
        entry.second->end(stoppedFailure());
}

bool RVStoppableNetworkLayer::isStopped() const
{
    std::lock_guard lock(m_mutex);
    return m_stopped;
}
