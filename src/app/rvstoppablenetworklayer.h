// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvnetworklayer.h"

#include <map>
#include <memory>
#include <mutex>

// The network layer as the application hands it to its clients: every transfer goes on to the
// real layer, and at quit stop() ends each transfer still under way with a failure, and each
// later one at once. Work that waits on the service (a screen's load on a worker) then returns
// promptly, so the application can join its workers instead of waiting out the exchanges'
// time-out. Nothing is destroyed by the stop, so a worker that is just starting a transfer
// never meets a layer that is gone.
class RVStoppableNetworkLayer final : public RVNetworkLayer
{
public:
    // Forwards to the given layer, which must outlive this one.
    explicit RVStoppableNetworkLayer(RVNetworkLayer *inner);
    ~RVStoppableNetworkLayer() override;
    RVStoppableNetworkLayer(const RVStoppableNetworkLayer &) = delete;
    RVStoppableNetworkLayer &operator=(const RVStoppableNetworkLayer &) = delete;

    quint64 start(const Request &request, std::shared_ptr<Sink> sink) override;
    void cancel(quint64 transfer) override;

    // Ends every transfer under way and every later one with a failure. Any thread.
    void stop();
    bool isStopped() const;

    class OnceSink;

private:
    RVNetworkLayer *m_inner;
    mutable std::mutex m_mutex;
    bool m_stopped = false;
    std::map<quint64, std::shared_ptr<OnceSink>> m_running;
};
