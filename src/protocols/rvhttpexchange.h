// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// One form POST to the service over Qt's HTTP client. The blocking form waits in a local
// event loop on the calling thread; the event-driven form reports the four exchange events
// (response, data, finished, failed) on the thread that started it. Both stop reading past
// the reply size limit and give up after the idle time-out.
class RVHttpExchange final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVHttpExchange)

public:
    struct Result {
        bool transportError = false; // no HTTP answer at all: refused, time-out, oversize...
        QString errorDescription;    // set with transportError
        int statusCode = 0;
        QByteArray body;
        QString headers; // the response's header fields, for the diagnostic log
    };

    static constexpr qsizetype maxReplyBytes = 16 * 1024 * 1024;

    explicit RVHttpExchange(QObject *parent = nullptr);
    ~RVHttpExchange() override;

    // Blocks the calling thread until the exchange ends.
    static Result postBlocking(const QUrl &url, const QByteArray &body);

    // Starts an event-driven exchange; false when one is already running.
    bool start(const QUrl &url, const QByteArray &body);
    bool isRunning() const { return !m_reply.isNull(); }
    // Stops the running exchange without any further event.
    void cancel();

    // Idle time-out of both forms; 30 s unless a test shortens it.
    static int timeoutMs();
    static void setTimeoutMsForTests(int ms);

Q_SIGNALS:
    void responseReceived(int statusCode, const QString &headers);
    void dataReceived(const QByteArray &bytes);
    void finished();
    void failed(const QString &errorDescription);

private:
    void onReadyRead();
    void onFinished();
    void finishWithFailure(const QString &description);

    QNetworkAccessManager *m_manager = nullptr;
    QPointer<QNetworkReply> m_reply;
    qsizetype m_received = 0;
    bool m_responseSeen = false;
};
