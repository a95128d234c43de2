// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

// One reply of the service: status, content type, body and any further headers. The
// connection frames it (status line, length, keep-alive) when it writes it.
struct RVServiceHttpResponse {
    int status = 200;
    QByteArray contentType = "text/plain; charset=utf-8";
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;

    static RVServiceHttpResponse text(int status, const QByteArray &text);
    // The bytes on the wire. headOnly leaves the body out (a HEAD request) but keeps its
    // length; keepAlive says whether the connection stays open afterwards.
    QByteArray serialized(bool keepAlive, bool headOnly = false) const;
    static QByteArray reasonPhrase(int status);
};
