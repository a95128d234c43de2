// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrlQuery>

// One complete HTTP request as the connection's parser read it: the body is whole and
// de-chunked, header names are lower case. Independent of sockets, so handlers and tests
// can build one directly.
struct RVServiceHttpRequest {
    QByteArray method;
    QByteArray target; // as sent: path and query
    int minorVersion = 1;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;

    // The first value of a header (name in any case), or empty.
    QByteArray header(QByteArrayView name) const;
    // Whether any comma-separated element of a header equals the token (case-insensitive).
    bool headerHasToken(QByteArrayView name, QByteArrayView token) const;
    // The percent-decoded path and the query of the target.
    QString path() const;
    QUrlQuery query() const;
    // HTTP/1.1 keeps the connection unless told to close; HTTP/1.0 only when asked to, and
    // never after a chunked body.
    bool keepAlive() const;
    bool isHead() const { return method == "HEAD"; }
    bool operator==(const RVServiceHttpRequest &) const = default;
};
