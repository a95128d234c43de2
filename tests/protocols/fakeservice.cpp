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
    return m_requests;
}

FakeService::Request FakeService::lastRequest() const
{
    QMutexLocker lock(&m_mutex);
    return m_last;
}

void FakeService::onConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
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
    {
        QMutexLocker lock(&m_mutex);
        ++m_requests;
        m_last = request;
    }
    const Response response = m_handler(request);
    const QByteArray bytes = "HTTP/1.1 " + QByteArray::number(response.status) +
                             " Status\r\nContent-Type: text/plain; charset=utf-8\r\n"
                             "Content-Length: " +
                             QByteArray::number(response.body.size()) + "\r\n\r\n" + response.body;
    if (response.delayMs > 0) {
        QTimer::singleShot(response.delayMs, socket, [socket, bytes] { socket->write(bytes); });
        return;
    }
    socket->write(bytes);
}
