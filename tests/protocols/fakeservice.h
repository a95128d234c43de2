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
// It can run on the test's own thread (the client's blocking exchange turns that thread's
// event loop) or on a thread of its own for concurrent clients.
class FakeService final : public QObject
{
    Q_OBJECT

public:
    struct Request {
        QByteArray method;
        QByteArray path;
        QByteArray headers;
        QByteArray body;
    };
    struct Response {
        int status = 200;
        QByteArray body;
        int delayMs = 0;
    };
    using Handler = std::function<Response(const Request &)>;

    explicit FakeService(Handler handler);
    ~FakeService() override;

    quint16 start();         // on the current thread
    quint16 startThreaded(); // on a thread of its own
    int requestCount() const;
    Request lastRequest() const;

private:
    void onConnection();
    void serve(QTcpSocket *socket);

    Handler m_handler;
    QTcpServer *m_server = nullptr;
    QThread *m_thread = nullptr;
    mutable QMutex m_mutex;
    int m_requests = 0;
    Request m_last;
};
