// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

// A small HTTP/1.1 server on an ephemeral loopback port for the image view's tests. Each path
// has a script of responses, used one per request with the last one repeating, so a test can
// say "fail twice, then serve the picture". A response can be delayed, cut off halfway (the
// connection closes after half the announced body), stalled halfway, or sent without a
// length. Every connection closes after its one response.
class ImageServer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ImageServer)

public:
    enum class Mode {
        Normal,          // status line, headers with Content-Length, the whole body
        DropHalfway,     // announces the whole length, sends half, then closes
        StallHalfway,    // sends half, waits stallMs, then sends the rest
        NoContentLength, // no length header: the body ends when the connection closes
        CloseAtOnce,     // closes without answering
    };

    struct Response {
        Response(QByteArray body = {}, int status = 200, Mode mode = Mode::Normal, int delayMs = 0,
                 int stallMs = 0)
            : body(std::move(body)), status(status), mode(mode), delayMs(delayMs), stallMs(stallMs)
        {
        }
        QByteArray body;
        int status = 200;
        Mode mode = Mode::Normal;
        int delayMs = 0; // before anything is sent
        int stallMs = 0; // StallHalfway only
    };

    explicit ImageServer(QObject *parent = nullptr);

    bool listen();
    QString urlFor(const QString &path) const;

    void setResponses(const QString &path, const QList<Response> &script);
    void setResponse(const QString &path, const Response &response)
    {
        setResponses(path, {response});
    }

    // Every request's path, in the order they arrived.
    QStringList requests() const { return m_requests; }
    int requestCount(const QString &path) const { return m_requests.count(path); }
    // Connections the client closed before their response was complete.
    int abortedByClient() const { return m_abortedByClient; }

Q_SIGNALS:
    void requestReceived(const QString &path);

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void respond(QTcpSocket *socket, const QString &path);
    void send(QTcpSocket *socket, const Response &response);

    QTcpServer m_server;
    QHash<QString, QList<Response>> m_scripts;
    QHash<QString, int> m_served;
    QStringList m_requests;
    int m_abortedByClient = 0;
};
