// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

#include <memory>

// The one network layer of the application: every service exchange, blocking or event-driven,
// and every photo download goes through it, so that they share one cache of open connections
// instead of paying a new connection per exchange. It owns the transfers under way and the
// rules that keep a transaction from reaching the service twice. Tests hand a client another
// layer (a scripted one, or a real one of their own) instead of the application's.
class RVNetworkLayer
{
public:
    enum class Method { Get, Post };

    // Whether a request whose connection broke may be sent again. Only a request that changes
    // nothing may be: a second copy of a booking or a password change would be applied twice.
    enum class Resend {
        Never,
        // Once, and only when a reused connection was closed by the service before any byte of
        // the reply came back (a connection it had already given up while idle).
        OnceOnStaleConnection,
    };

    struct Request {
        Method method = Method::Post;
        QUrl url;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;
        // No byte in either direction for this long ends the transfer as timed out.
        int idleTimeoutMs = 30000;
        // A reply body longer than this ends the transfer as too large.
        qint64 maxBodyBytes = 16 * 1024 * 1024;
        Resend resend = Resend::Never;
        bool followRedirects = false;
    };

    // Why a transfer ended without a whole reply.
    enum class FailureKind {
        None,
        CannotConnect,  // refused, unknown host, unreachable
        TimedOut,       // idle past the request's time-out
        ConnectionLost, // closed or reset before the whole reply had come
        TooLarge,       // past the request's body limit
        BadAddress,     // not an address the layer can reach
        Untrusted,      // the service's certificate or name did not verify: nothing was sent
        Unencrypted,    // plain HTTP beyond loopback while it is not allowed: nothing was sent
        Other,
    };
    struct Failure {
        FailureKind kind = FailureKind::None;
        QString detail; // the HTTP library's own text, for the log only
        explicit operator bool() const { return kind != FailureKind::None; }
    };
    // What a user is told for each failure; the library's text goes to the log.
    static QString userMessage(FailureKind kind);

    // Receives the events of one transfer, on the layer's own thread, in this order: response
    // (once per response; a later one, after a redirection, replaces the earlier), data, and
    // exactly one end. Implementations hand the events on to their own thread. A layer that
    // cannot run at all ends the transfer from start() itself, on the caller's thread.
    class Sink
    {
    public:
        virtual ~Sink();
        virtual void response(int statusCode, const QString &headers) = 0;
        virtual void data(const QByteArray &bytes) = 0;
        virtual void end(const Failure &failure) = 0;
    };

    virtual ~RVNetworkLayer();

    // Starts a transfer and returns its identifier (never 0). Safe from any thread.
    virtual quint64 start(const Request &request, std::shared_ptr<Sink> sink) = 0;
    // Stops a transfer; its sink may still see events that were already on their way, but
    // no end. Unknown or finished identifiers are ignored. Safe from any thread.
    virtual void cancel(quint64 transfer) = 0;
    // Ends every running transfer with a failure, and every later one as soon as it starts:
    // the application is quitting, and nobody may stay waiting on the service. Safe from any
    // thread. A layer that holds no transfers of its own (a test's) has nothing to end.
    virtual void abortAll() {}

    // The application's layer, made on first use; or the one a test put in its place.
    static RVNetworkLayer *defaultLayer();
    // Puts a layer in place of the application's (nullptr restores it). The caller keeps it
    // alive while clients may use it.
    static void setDefaultLayer(RVNetworkLayer *layer);
};
