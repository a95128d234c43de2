// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>

#include <atomic>
#include <future>
#include <thread>

// Stands between the client and the booking service on loopback and forwards every request,
// one per connection. Booking requests ("C001") can be made to lose their answer: dropped
// before the service sees them, or applied by the service and then dropped or cut short on
// the way back. Only the first booking request is ever forwarded, so a resent one cannot
// book twice behind the test's back. Runs on a thread of its own with blocking sockets.
class LoopbackProxy final
{
public:
    enum class BookingFate { Forward, DropBeforeService, DropAfterService, CutShortAfterService };

    LoopbackProxy(quint16 servicePort, BookingFate fate);
    ~LoopbackProxy();
    LoopbackProxy(const LoopbackProxy &) = delete;
    LoopbackProxy &operator=(const LoopbackProxy &) = delete;

    quint16 port() const { return m_port; }
    int bookingRequests() const { return m_bookingRequests; }
    int bookingsForwarded() const { return m_bookingsForwarded; }

private:
    void run(std::promise<quint16> listening);
    void serve(class QTcpSocket &client);

    const quint16 m_servicePort;
    const BookingFate m_fate;
    quint16 m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_bookingRequests{0};
    std::atomic<int> m_bookingsForwarded{0};
    std::thread m_thread;
};
