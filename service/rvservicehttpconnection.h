// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "service/rvservicehttplimits.h"
#include "service/rvservicehttpparser.h"
#include "service/rvservicehttpresponse.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class QSslConfiguration;
class QTcpSocket;

// One accepted connection: reads requests through its parser, answers each with the handler
// in order, and keeps the connection for the next request while the client wants it. It owns
// the clock of its connection: the head, the body and the wait between requests each have a
// deadline, and a refused request is answered before the connection is closed, with what
// still arrives read and thrown away for a short while so that the refusal is not lost to a
// reset. Emits finished() once, when its socket is gone.
class RVServiceHttpConnection final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVServiceHttpConnection)

public:
    using Handler = std::function<RVServiceHttpResponse(const RVServiceHttpRequest &)>;
    // Runs a piece of work on another thread. With one, the handler runs there and the
    // connection reads nothing more until its reply is back, so replies keep request order.
    using Executor = std::function<void(std::function<void()>)>;

    // With `tls`, the connection is HTTPS: its handshake counts against the head's deadline.
    RVServiceHttpConnection(qintptr descriptor, const RVServiceHttpLimits &limits,
                            std::shared_ptr<RVServiceHttpBodyBudget> budget, Handler handler,
                            const QSslConfiguration *tls = nullptr, QObject *parent = nullptr);
    ~RVServiceHttpConnection() override;

    // Answers the first request with this status at once, without reading it, and closes:
    // the refusal of a connection beyond the cap.
    void refuseAtOnce(int status, const QByteArray &text);
    bool isOpen() const;
    void setExecutor(Executor executor) { m_executor = std::move(executor); }

Q_SIGNALS:
    void finished();

private:
    enum class Phase { Head, Body, Idle, Closing, Lingering, Closed };

    void onReadyRead();
    void process();
    void answer(const RVServiceHttpRequest &request);
    void onAnswered(bool keepAlive, bool head, const RVServiceHttpResponse &response);
    void send(bool keepAlive, bool head, const RVServiceHttpResponse &response);
    void follow(RVServiceHttpParser::Stage stage);
    bool ending() const;
    void enter(Phase phase, int timeoutMs);
    void onDeadline();
    void refuse(int status, const QByteArray &text);
    void closeAfterWrite();
    void onBytesWritten();
    void beginLinger();
    void discardInput();
    void onDisconnected();

    QTcpSocket *m_socket = nullptr;
    RVServiceHttpLimits m_limits;
    RVServiceHttpParser m_parser;
    Handler m_handler;
    Executor m_executor;
    bool m_answering = false; // a worker runs the handler; finished() waits for it
    QTimer m_deadline;
    Phase m_phase = Phase::Head;
    bool m_finished = false;
};
