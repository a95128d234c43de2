// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvnetworklayer.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

class RVNetworkForwarder;

// One form POST to the service through the application's network layer. The blocking form
// waits on the calling thread (turning its event loop when that is the main thread, so that
// the interface and anything served in-process keep running); the event-driven form reports
// the four exchange events (response, data, finished, failed) on the thread that started it.
// A reply is a reply only when it arrived whole: a body cut short is a failure.
class RVHttpExchange final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVHttpExchange)

public:
    struct Result {
        bool transportError = false; // no whole HTTP answer: refused, time-out, cut short...
        QString errorDescription;    // set with transportError: the text a user is shown
        QString errorDetail;         // set with transportError: the library's text, for the log
        int statusCode = 0;
        QByteArray body;
        QString headers; // the response's header fields, for the diagnostic log
    };
    using Resend = RVNetworkLayer::Resend;

    static constexpr qsizetype maxReplyBytes = 16 * 1024 * 1024;

    explicit RVHttpExchange(QObject *parent = nullptr);
    ~RVHttpExchange() override;

    // Blocks the calling thread until the exchange ends. A null layer is the application's.
    static Result postBlocking(const QUrl &url, const QByteArray &body,
                               Resend resend = Resend::Never, RVNetworkLayer *layer = nullptr);

    // The layer of the event-driven form; null (the default) is the application's.
    void setNetworkLayer(RVNetworkLayer *layer) { m_layer = layer; }
    // Starts an event-driven exchange; false when one is already running.
    bool start(const QUrl &url, const QByteArray &body, Resend resend = Resend::Never);
    bool isRunning() const { return m_forwarder != nullptr; }
    // Stops the running exchange without any further event.
    void cancel();

    // Idle time-out of both forms; 30 s unless a test shortens it.
    static int timeoutMs();
    static void setTimeoutMsForTests(int ms);

Q_SIGNALS:
    void responseReceived(int statusCode, const QString &headers);
    void dataReceived(const QByteArray &bytes);
    void finished();
    void failed(const QString &errorDescription, const QString &errorDetail);

private:
    static RVNetworkLayer::Request formRequest(const QUrl &url, const QByteArray &body,
                                               Resend resend);
    void onEnd(const RVNetworkLayer::Failure &failure);
    void release();

    RVNetworkLayer *m_layer = nullptr;
    RVNetworkLayer *m_runningLayer = nullptr;
    std::shared_ptr<RVNetworkForwarder> m_forwarder;
    quint64 m_transfer = 0;
    bool m_responseSeen = false;
};
