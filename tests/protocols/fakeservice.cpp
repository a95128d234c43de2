// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "fakeservice.h"

#include <QTcpSocket>
#include <QTimer>

FakeService::FakeService(Handler handler) : m_handler(std::move(handler)) {}

FakeService::~FakeService()
{
    if (m_thread != nullptr) {
        QMetaObject::invokeMethod(
            m_server, [this] { delete m_server; }, Qt::BlockingQueuedConnection);
        m_thread->quit();
        m_thread->wait();
        delete m_thread;
    } else {
        delete m_server;
    }
}

quint16 FakeService::start()
{
    m_server = new QTcpServer;
    connect(m_server, &QTcpServer::newConnection, m_server, [this] { onConnection(); });
    m_server->listen(QHostAddress::LocalHost, 0);
    return m_server->serverPort();
}

quint16 FakeService::startThreaded()
{
    m_thread = new QThread;
    m_thread->start();
    quint16 port = 0;
    QObject context;
    context.moveToThread(m_thread);
    QMetaObject::invokeMethod(
        &context, [this, &port] { port = start(); }, Qt::BlockingQueuedConnection);
    return port;
}

int FakeService::requestCount() const
{
    QMutexLocker lock(&m_mutex);
    return int(m_requests.size());
}

FakeService::Request FakeService::lastRequest() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests.isEmpty() ? Request() : m_requests.constLast();
}

QList<FakeService::Request> FakeService::requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

int FakeService::connectionCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_connections;
}

int FakeService::peakInFlight() const
{
    QMutexLocker lock(&m_mutex);
    return m_peakInFlight;
}

void FakeService::onConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        {
            QMutexLocker lock(&m_mutex);
            socket->setProperty("connection", ++m_connections);
        }
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void FakeService::serve(QTcpSocket *socket)
{
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0) {
        socket->setProperty("buffer", buffer);
        return;
    }
    const QByteArray head = buffer.left(headerEnd);
    qsizetype length = 0;
    for (const QByteArray &line : head.split('\n')) {
        if (line.toLower().startsWith("content-length:"))
            length = line.mid(15).trimmed().toLongLong();
    }
    if (buffer.size() < headerEnd + 4 + length) {
        socket->setProperty("buffer", buffer);
        return;
    }
    socket->setProperty("buffer", buffer.mid(headerEnd + 4 + length));
    Request request;
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    request.headers = head;
    request.body = buffer.mid(headerEnd + 4, length);
    request.connection = socket->property("connection").toInt();
    request.onConnection = socket->property("served").toInt() + 1;
    socket->setProperty("served", request.onConnection);
    {
        QMutexLocker lock(&m_mutex);
        m_requests.append(request);
        m_peakInFlight = std::max(m_peakInFlight, ++m_inFlight);
    }
    const Response response = m_handler(request);
    if (response.delayMs > 0) {
        QTimer::singleShot(response.delayMs, socket,
                           [this, socket, response] { answer(socket, response); });
        return;
    }
    answer(socket, response);
}

void FakeService::answered()
{
    QMutexLocker lock(&m_mutex);
    --m_inFlight;
}

void FakeService::answer(QTcpSocket *socket, const Response &response)
{
    answered();
    if (response.ending == Ending::CloseWithoutAnswer) {
        socket->disconnectFromHost();
        return;
    }
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) +
                      " Status\r\nContent-Type: text/plain; charset=utf-8\r\n";
    QByteArray body = response.body;
    switch (response.ending) {
    case Ending::CutShort:
        head += "Content-Length: " + QByteArray::number(body.size() + 400) + "\r\n";
        break;
    case Ending::NoLength:
        head += "Connection: close\r\n";
        break;
    case Ending::Chunked: {
        head += "Transfer-Encoding: chunked\r\n";
        const qsizetype half = body.size() / 2;
        auto chunk = [](const QByteArray &part) -> QByteArray {
            return QByteArray::number(part.size(), 16) + "\r\n" + part + "\r\n";
        };
        body = chunk(body.left(half)) + chunk(body.mid(half)) + "0\r\n\r\n";
        break;
    }
    default:
        head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
        break;
    }
    socket->write(head + "\r\n" + body);
    if (response.ending == Ending::CutShort || response.ending == Ending::NoLength ||
        response.ending == Ending::CloseAfterAnswer)
        socket->disconnectFromHost();
}
