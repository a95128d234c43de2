// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvnetworkforwarder.h"

RVNetworkForwarder::RVNetworkForwarder(QObject *receiver, Handlers handlers)
    : m_receiver(receiver), m_handlers(std::move(handlers))
{
}

void RVNetworkForwarder::response(int statusCode, const QString &headers)
{
    forward([statusCode, headers](const Handlers &h) {
        if (h.response)
            h.response(statusCode, headers);
    });
}

void RVNetworkForwarder::data(const QByteArray &bytes)
{
    forward([bytes](const Handlers &h) {
        if (h.data)
            h.data(bytes);
    });
}

void RVNetworkForwarder::end(const RVNetworkLayer::Failure &failure)
{
    forward([failure](const Handlers &h) {
        if (h.end)
            h.end(failure);
    });
}

void RVNetworkForwarder::detach()
{
    m_detached = true;
    std::lock_guard lock(m_mutex);
    m_receiver = nullptr;
}

void RVNetworkForwarder::forward(std::function<void(const Handlers &)> call)
{
    std::lock_guard lock(m_mutex);
    if (m_receiver == nullptr)
        return;
    QMetaObject::invokeMethod(
        m_receiver,
        [self = shared_from_this(), call = std::move(call)] {
            // Runs on the receiver's thread, where detach() runs too.
            if (!self->m_detached)
                call(self->m_handlers);
        },
        Qt::QueuedConnection);
}
