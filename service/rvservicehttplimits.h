// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QHostAddress>
#include <QList>
#include <QtGlobal>

// What one client may cost the service. A request is refused by its declared size before
// its body is read, a body takes memory only as its bytes arrive, all bodies in progress
// share one bound, and every stage of a connection has a deadline, so that slow or idle
// peers cannot hold memory or descriptors for long. The tests use short values; the
// defaults suit the embedded service.
struct RVServiceHttpLimits {
    qsizetype maxHeadBytes = 16 * 1024; // request line and headers together
    int maxHeaderCount = 100;
    qsizetype maxBodyBytes = 1024 * 1024; // the booking form is a few KiB at most
    int headTimeoutMs = 10'000;           // from the first byte (or the accept) to the head's end
    int bodyTimeoutMs = 60'000;           // from the head's end to the body's end
    int idleTimeoutMs = 30'000;           // a kept-alive connection between requests
    int writeTimeoutMs = 60'000;          // a reply the peer does not read
    int lingerMs = 2'000;                 // reading and discarding after a refusal, see close
    int maxConnections = 2'000;           // beyond this a new connection gets a 503 at once
    // The same from one client address (see RVServiceHttpAddressBound); high enough for a
    // clinic behind one address translation. 0: no bound.
    int maxConnectionsPerAddress = 64;
    QList<QHostAddress> trustedProxies;       // balancers in front: not bounded per address
    qsizetype maxPendingOutput = 1024 * 1024; // stop reading requests while this much waits
    // The bodies being read at once on all connections; the request passing it gets a 503.
    qint64 maxBodyBytesInProgress = 64 * 1024 * 1024;
};
