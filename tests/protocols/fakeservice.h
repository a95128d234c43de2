// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QTcpServer>
#include <QThread>

#include <functional>

// A minimal HTTP/1.1 service on an ephemeral loopback port for the client tests: it hands
// every request to a handler and answers with the status, body and delay the handler gives.
// Connections stay open between requests unless the handler says how the answer ends: cut
// short, without a length, chunked, or not at all. It can run on the test's own thread (the
// client's blocking exchange turns that thread's event loop) or on a thread of its own.
class FakeService final : public QObject
{
    Q_OBJECT

public:
    struct Request {
        QByteArray method;
        QByteArray path;
        QByteArray headers;
        QByteArray body;
        int connection = 0;   // which connection it came on, counted from 1
        int onConnection = 0; // its place among that connection's requests, from 1
    };
    enum class Ending {
        KeepOpen,           // a whole answer with its length; the connection stays open
        CloseAfterAnswer,   // a whole answer, then the service closes the connection
        CutShort,           // announces 400 bytes more than it sends, then closes
        NoLength,           // no length: the body ends when the connection closes
        Chunked,            // chunked transfer coding, in two chunks
        CloseWithoutAnswer, // reads the whole request and closes without a byte
    };
    struct Response {
        int status = 200;
        QByteArray body;
        int delayMs = 0;
        Ending ending = Ending::KeepOpen;
    };
    using Handler = std::function<Response(const Request &)>;

    explicit FakeService(Handler handler);
    ~FakeService() override;

    quint16 start();         // on the current thread
    quint16 startThreaded(); // on a thread of its own
    int requestCount() const;
    Request lastRequest() const;
    QList<Request> requests() const;
    int connectionCount() const;
    // The most requests that were at once received and not yet answered.
    int peakInFlight() const;

private:
    void onConnection();
    void serve(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const Response &response);
    void answered();

    Handler m_handler;
    QTcpServer *m_server = nullptr;
    QThread *m_thread = nullptr;
    mutable QMutex m_mutex;
    QList<Request> m_requests;
    int m_connections = 0;
    int m_inFlight = 0;
    int m_peakInFlight = 0;
};
