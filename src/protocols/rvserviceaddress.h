// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QString>
#include <QUrl>

#include <optional>

// Where the service is, as a user or the build names it, and whether it may be reached over
// plain HTTP. The login and the registration carry the password enciphered with the protocol's
// fixed key, which every client carries: without TLS anyone on the path reads it. So plain HTTP
// goes to loopback only, unless the build (RV_ALLOW_PLAIN_HTTP) or the user (--allow-plain-http)
// accepts that risk for a network of their own.
class RVServiceAddress final
{
public:
    RVServiceAddress() = delete;

    // "https://host[:port]", "http://host[:port]" or the bare "host:port" (plain HTTP): the
    // base URL (scheme, host, port; no path), or nullopt with *error.
    static std::optional<QUrl> parse(const QString &text, QString *error);
    // 127.0.0.0/8, ::1 or "localhost" (which libcurl never asks a resolver for).
    static bool isLoopback(const QString &host);
    // Why the URL may not be used: plain HTTP to a host beyond loopback while plain HTTP is
    // not allowed; empty when it may.
    static QString plainHttpRefusal(const QUrl &url, bool plainHttpAllowed);
    static QString plainHttpRefusal(const QUrl &url) { return plainHttpRefusal(url, allowed()); }

    // Whether plain HTTP may leave the machine: the build's setting until the application
    // says otherwise. Safe from any thread.
    static void setPlainHttpAllowed(bool allowed);
    static bool allowed();
};
