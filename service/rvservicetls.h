// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QSslConfiguration>
#include <QString>

#include <optional>

class QObject;
class QTcpSocket;

// HTTPS for the service's own HTTP layer. The certificate chain and key a hospital gives the
// service are read and checked once, at start, so that a missing, unreadable or mismatched
// file stops the start with a clear message instead of failing every handshake later. The
// listener keeps its own cap and deadlines over TLS: a connection's socket is a QSslSocket
// made here, whose handshake runs inside the head's deadline like a slow head would (Qt's
// QSslServer would hold handshaking sockets outside the cap, with no deadline of ours).
class RVServiceTls final
{
public:
    RVServiceTls() = delete;

    // TLS 1.2 or newer with the certificate (a chain allowed, the service's own first) and
    // the private key (PEM, not encrypted); nullopt with *error when they cannot be used.
    static std::optional<QSslConfiguration> load(const QString &certificateFile,
                                                 const QString &keyFile, QString *error);
    // The socket of an accepted connection: a plain one, or a TLS one under `tls`.
    static QTcpSocket *socketFor(const QSslConfiguration *tls, QObject *parent);
    // Starts the server's side of the handshake once the socket has its descriptor.
    static void startHandshake(QTcpSocket *socket);
    // Whether the socket is TLS and its handshake has not finished.
    static bool handshakeUnfinished(const QTcpSocket *socket);
    static bool isTls(const QTcpSocket *socket);
};
