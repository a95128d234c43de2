// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>

// One benchmark client posting forms to the booking endpoint: by default through the
// application's own network layer (libcurl, kept-alive connections, one network thread for
// all clients), as the patient client posts them; or raw, a kept-alive HTTP/1.1 connection
// over a blocking loopback socket with no parser beyond the status line and Content-Length,
// which costs the machine so little that it shows the ceiling of the service's HTTP layer.
class BenchHttpClient final
{
public:
    BenchHttpClient(quint16 port, bool raw) : m_port(port), m_raw(raw) {}
    ~BenchHttpClient();
    Q_DISABLE_COPY_MOVE(BenchHttpClient)

    // The reply body of a 200, or nullopt (another status, or no answer); reconnects once when
    // the service had closed the kept-alive connection.
    std::optional<QByteArray> post(const QByteArray &form);

private:
    bool connectSocket();
    bool sendAll(const QByteArray &bytes);
    // The body of a 200, empty for any other status; nullopt when the connection failed.
    std::optional<QByteArray> readReply();
    void close();

    quint16 m_port;
    bool m_raw;
    int m_fd = -1;
    QByteArray m_pending;
};
