// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicehttplistener.h"

#include "service/rvservicelog.h"

#include <QTimer>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace
{
// Descriptors kept for the database, the log and the refusals themselves.
constexpr int reservedDescriptors = 64;
// Refusals in flight at once; beyond them a connection is closed without a word.
constexpr int maxRefusing = 64;

int descriptorCap(int wanted)
{
#ifdef Q_OS_UNIX
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        return std::clamp<int>(static_cast<int>(std::min<rlim_t>(limit.rlim_cur, 1 << 30)) -
                                   reservedDescriptors,
                               1, wanted);
#endif
    return wanted;
}
} // namespace

RVServiceHttpListener::RVServiceHttpListener(const RVServiceHttpLimits &limits,
                                             RVServiceHttpConnection::Handler handler,
                                             QObject *parent)
    : QTcpServer(parent), m_limits(limits), m_handler(std::move(handler)),
      m_bodyBudget(std::make_shared<RVServiceHttpBodyBudget>(limits.maxBodyBytesInProgress)),
      m_cap(descriptorCap(std::max(1, limits.maxConnections))), m_addressBound(limits)
{
    connect(this, &QTcpServer::acceptError, this, &RVServiceHttpListener::onAcceptError);
}

RVServiceHttpListener::~RVServiceHttpListener()
{
    // The connections are children; they must not report back into a half-destroyed listener.
    for (RVServiceHttpConnection *connection : findChildren<RVServiceHttpConnection *>())
        disconnect(connection, nullptr, this, nullptr);
}

void RVServiceHttpListener::incomingConnection(qintptr descriptor)
{
    if (m_open >= m_cap) {
        refuse(descriptor, u"%1 connections open"_s.arg(m_open));
        return;
    }
    const QHostAddress peer = m_addressBound.counted(RVServiceHttpAddressBound::peerOf(descriptor));
    if (!m_addressBound.take(peer)) { // the address stays out of the log: it may name a patient
        refuse(descriptor,
               u"%1 connections open from one address"_s.arg(m_addressBound.held(peer)));
        return;
    }
    auto *connection =
        new RVServiceHttpConnection(descriptor, m_limits, m_bodyBudget, m_handler, tls(), this);
    connection->setExecutor(m_executor);
    ++m_open;
    connect(connection, &RVServiceHttpConnection::finished, this, [this, connection, peer] {
        --m_open;
        m_addressBound.give(peer);
        connection->deleteLater();
    });
}

void RVServiceHttpListener::refuse(qintptr descriptor, const QString &why)
{
#ifdef Q_OS_UNIX
    if (m_refusing >= maxRefusing) {
        ::close(static_cast<int>(descriptor));
        return;
    }
#endif
    qCInfo(lcService).noquote() << u"503 %1, one more refused"_s.arg(why);
    auto *connection =
        new RVServiceHttpConnection(descriptor, m_limits, m_bodyBudget, {}, tls(), this);
    ++m_refusing;
    connect(connection, &RVServiceHttpConnection::finished, this, [this, connection] {
        --m_refusing;
        connection->deleteLater();
    });
    connection->refuseAtOnce(503, "too many connections, try again shortly\n");
}

void RVServiceHttpListener::onAcceptError(QAbstractSocket::SocketError error)
{
    qCWarning(lcService).noquote() << u"accept failed (%1): %2"_s.arg(error).arg(errorString());
    pauseAccepting();
    QTimer::singleShot(100, this, &RVServiceHttpListener::resumeAccepting);
}
