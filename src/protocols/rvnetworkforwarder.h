// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvnetworklayer.h"

#include <QObject>

#include <functional>
#include <memory>
#include <mutex>

// Hands the events of one transfer from the network layer's thread to the thread of a
// receiver object, in order, as queued calls. Once detached (the receiver cancelled the
// transfer or is going away) nothing more reaches the receiver, not even events that were
// already queued: a cancelled exchange stays silent.
class RVNetworkForwarder final : public RVNetworkLayer::Sink,
                                 public std::enable_shared_from_this<RVNetworkForwarder>
{
public:
    struct Handlers {
        std::function<void(int statusCode, const QString &headers)> response;
        std::function<void(const QByteArray &bytes)> data;
        std::function<void(const RVNetworkLayer::Failure &failure)> end;
    };

    // The receiver must detach before it is destroyed.
    RVNetworkForwarder(QObject *receiver, Handlers handlers);

    void response(int statusCode, const QString &headers) override;
    void data(const QByteArray &bytes) override;
    void end(const RVNetworkLayer::Failure &failure) override;

    // Called on the receiver's thread.
    void detach();

private:
    void forward(std::function<void(const Handlers &)> call);

    std::mutex m_mutex; // guards m_receiver against the layer's thread
    QObject *m_receiver;
    bool m_detached = false; // the receiver's thread's alone
    Handlers m_handlers;
};
