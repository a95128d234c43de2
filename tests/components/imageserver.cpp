// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "imageserver.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

using namespace Qt::StringLiterals;

ImageServer::ImageServer(QObject *parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &ImageServer::onNewConnection);
}

bool ImageServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QString ImageServer::urlFor(const QString &path) const
{
    return u"http://127.0.0.1:%1%2"_s.arg(m_server.serverPort()).arg(path);
}

void ImageServer::setResponses(const QString &path, const QList<Response> &script)
{
    m_scripts.insert(path, script);
    m_served.remove(path);
}

void ImageServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setProperty("complete", false);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (!socket->property("complete").toBool() && socket->property("answering").toBool())
                ++m_abortedByClient;
            socket->deleteLater();
        });
    }
}

void ImageServer::onReadyRead(QTcpSocket *socket)
{
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    socket->setProperty("buffer", buffer);
    if (socket->property("answering").toBool() || !buffer.contains("\r\n\r\n"))
        return;
    socket->setProperty("answering", true);
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    const QString path =
        requestLine.size() >= 2 ? QString::fromLatin1(requestLine.at(1)) : QString();
    m_requests << path;
    Q_EMIT requestReceived(path);
    respond(socket, path);
}

void ImageServer::respond(QTcpSocket *socket, const QString &path)
{
    const QList<Response> script = m_scripts.value(path);
    if (script.isEmpty()) {
        send(socket, Response{"not found", 404, Mode::Normal, 0, 0});
        return;
    }
    const int served = m_served.value(path);
    m_served.insert(path, served + 1);
    const Response response = script.at(std::min<qsizetype>(served, script.size() - 1));
    if (response.delayMs <= 0) {
        send(socket, response);
        return;
    }
    QPointer<QTcpSocket> guard(socket);
    QTimer::singleShot(response.delayMs, this, [this, guard, response] {
        if (guard && guard->state() == QAbstractSocket::ConnectedState)
            send(guard, response);
    });
}

void ImageServer::send(QTcpSocket *socket, const Response &response)
{
    if (response.mode == Mode::CloseAtOnce) {
        socket->setProperty("complete", true);
        socket->disconnectFromHost();
        return;
    }
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) +
                      " X\r\n"
                      "Content-Type: image/png\r\nConnection: close\r\n";
    if (response.mode != Mode::NoContentLength)
        head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    head += "\r\n";
    socket->write(head);
    const qsizetype half = response.body.size() / 2;
    switch (response.mode) {
    case Mode::DropHalfway:
        socket->write(response.body.left(half));
        socket->setProperty("complete", true);
        socket->flush();
        socket->disconnectFromHost();
        return;
    case Mode::StallHalfway: {
        socket->write(response.body.left(half));
        socket->flush();
        QPointer<QTcpSocket> guard(socket);
        QTimer::singleShot(response.stallMs, this, [guard, response, half] {
            if (!guard || guard->state() != QAbstractSocket::ConnectedState)
                return;
            guard->write(response.body.mid(half));
            guard->setProperty("complete", true);
            guard->disconnectFromHost();
        });
        return;
    }
    default:
        socket->write(response.body);
        socket->setProperty("complete", true);
        socket->disconnectFromHost();
        return;
    }
}
