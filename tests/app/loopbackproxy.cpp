// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "loopbackproxy.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace
{
constexpr int kWaitMs = 10000;

// One HTTP message read whole: the head up to the blank line, then Content-Length bytes.
QByteArray readMessage(QTcpSocket &socket, qsizetype *headLength)
{
    QByteArray data;
    qsizetype end = -1;
    while ((end = data.indexOf("\r\n\r\n")) < 0) {
        if (!socket.waitForReadyRead(kWaitMs))
            return {};
        data += socket.readAll();
    }
    *headLength = end + 4;
    qsizetype length = 0;
    for (const QByteArray &line : data.left(end).split('\n')) {
        if (line.trimmed().toLower().startsWith("content-length:"))
            length = line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
    }
    while (data.size() < *headLength + length) {
        if (!socket.waitForReadyRead(kWaitMs))
            return {};
        data += socket.readAll();
    }
    return data;
}

// The same response, marked as the last on its connection so the client never reuses one.
QByteArray withConnectionClose(const QByteArray &response, qsizetype headLength)
{
    QList<QByteArray> lines = response.left(headLength - 4).split('\n');
    QByteArray head;
    for (const QByteArray &line : lines) {
        if (!line.trimmed().toLower().startsWith("connection:"))
            head += line.trimmed() + "\r\n";
    }
    return head + "Connection: close\r\n\r\n" + response.mid(headLength);
}

void close(QTcpSocket &socket, bool abort)
{
    if (abort) {
        socket.abort();
        return;
    }
    socket.flush();
    socket.waitForBytesWritten(kWaitMs);
    socket.disconnectFromHost();
    if (socket.state() != QAbstractSocket::UnconnectedState)
        socket.waitForDisconnected(kWaitMs);
}
} // namespace

LoopbackProxy::LoopbackProxy(quint16 servicePort, BookingFate fate)
    : m_servicePort(servicePort), m_fate(fate)
{
    std::promise<quint16> listening;
    std::future<quint16> port = listening.get_future();
    m_thread =
        std::thread([this, promise = std::move(listening)]() mutable { run(std::move(promise)); });
    m_port = port.get();
}

LoopbackProxy::~LoopbackProxy()
{
    m_stop = true;
    m_thread.join();
}

void LoopbackProxy::run(std::promise<quint16> listening)
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    listening.set_value(server.serverPort());
    while (!m_stop) {
        if (!server.waitForNewConnection(50))
            continue;
        while (QTcpSocket *client = server.nextPendingConnection()) {
            serve(*client);
            delete client;
        }
    }
}

void LoopbackProxy::serve(QTcpSocket &client)
{
    qsizetype requestHead = 0;
    const QByteArray request = readMessage(client, &requestHead);
    if (request.isEmpty())
        return close(client, true);
    const bool booking = request.mid(requestHead).contains("jym=C001");
    if (booking) {
        ++m_bookingRequests;
        if (m_fate == BookingFate::DropBeforeService || m_bookingsForwarded > 0)
            return close(client, true);
        ++m_bookingsForwarded;
    }
    QTcpSocket service;
    service.connectToHost(QHostAddress::LocalHost, m_servicePort);
    if (!service.waitForConnected(kWaitMs))
        return close(client, true);
    service.write(request);
    service.waitForBytesWritten(kWaitMs);
    qsizetype responseHead = 0;
    const QByteArray response = readMessage(service, &responseHead);
    close(service, false);
    if (response.isEmpty() || (booking && m_fate == BookingFate::DropAfterService))
        return close(client, true);
    if (booking && m_fate == BookingFate::CutShortAfterService) {
        // The whole head, promising the whole body, then half of it.
        client.write(response.left(responseHead + (response.size() - responseHead) / 2));
        return close(client, false);
    }
    client.write(withConnectionClose(response, responseHead));
    close(client, false);
}
