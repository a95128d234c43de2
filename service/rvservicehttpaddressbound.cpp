// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicehttpaddressbound.h"

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif

RVServiceHttpAddressBound::RVServiceHttpAddressBound(const RVServiceHttpLimits &limits)
    : m_bound(limits.maxConnectionsPerAddress)
{
    for (const QHostAddress &proxy : limits.trustedProxies)
        m_trusted.append(normalized(proxy));
}

QHostAddress RVServiceHttpAddressBound::counted(const QHostAddress &peer) const
{
    const QHostAddress address = normalized(peer);
    return m_bound <= 0 || m_trusted.contains(address) ? QHostAddress() : address;
}

QHostAddress RVServiceHttpAddressBound::peerOf(qintptr descriptor)
{
    QHostAddress peer;
#ifdef Q_OS_UNIX
    sockaddr_storage storage{};
    socklen_t size = sizeof(storage);
    if (::getpeername(static_cast<int>(descriptor), reinterpret_cast<sockaddr *>(&storage),
                      &size) == 0)
        peer.setAddress(reinterpret_cast<const sockaddr *>(&storage));
#else
    Q_UNUSED(descriptor);
#endif
    return peer;
}

bool RVServiceHttpAddressBound::take(const QHostAddress &address)
{
    if (address.isNull())
        return true;
    if (m_held.value(address) >= m_bound)
        return false;
    ++m_held[address];
    return true;
}

void RVServiceHttpAddressBound::give(const QHostAddress &address)
{
    const auto it = m_held.find(address);
    if (it != m_held.end() && --*it <= 0)
        m_held.erase(it);
}

QHostAddress RVServiceHttpAddressBound::normalized(const QHostAddress &address)
{
    bool isIPv4 = false;
    const quint32 v4 = address.toIPv4Address(&isIPv4);
    return isIPv4 ? QHostAddress(v4) : address;
}
