// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "service/rvservicehttplimits.h"

#include <QHash>
#include <QHostAddress>

// The connections each client address holds, against the bound per address, so that one
// client retrying hard cannot take the places of all others. Addresses are counted exactly
// as they are (127.0.0.2 is not 127.0.0.1), an IPv4 client seen through an IPv6 listener as
// its IPv4 address. A trusted proxy is not counted: behind a balancer every connection carries
// the balancer's address, and the balancer bounds its own clients. One listener's; used on its
// thread only.
class RVServiceHttpAddressBound final
{
public:
    explicit RVServiceHttpAddressBound(const RVServiceHttpLimits &limits);

    // The address a connection from the peer is counted under; null when it is not counted.
    QHostAddress counted(const QHostAddress &peer) const;
    // The peer of an accepted socket; null when the system does not say.
    static QHostAddress peerOf(qintptr descriptor);
    // Takes a place for the address; false, with nothing taken, when it has none left. A null
    // address always has one.
    bool take(const QHostAddress &address);
    void give(const QHostAddress &address);
    int held(const QHostAddress &address) const { return m_held.value(address); }

private:
    // The address as it is counted and compared: a mapped IPv4 address as IPv4.
    static QHostAddress normalized(const QHostAddress &address);

    int m_bound;
    QList<QHostAddress> m_trusted;
    QHash<QHostAddress, int> m_held;
};
