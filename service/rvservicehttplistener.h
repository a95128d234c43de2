// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "service/rvservicehttpaddressbound.h"
#include "service/rvservicehttpconnection.h"

#include <QSslConfiguration>
#include <QTcpServer>

#include <optional>

// Accepts connections and holds at most the configured number of them at once: one beyond
// the cap is answered "503" at once and closed, so that a flood of idle or slow peers costs
// the service a bounded number of descriptors and honest clients get a clear answer instead
// of a hang. The same holds per client address, trusted proxies apart. Running out of
// descriptors pauses accepting for a moment rather than spinning.
// Its connections share one budget for the request bodies they are reading. With a TLS
// configuration every connection is HTTPS, under the same cap and deadlines.
class RVServiceHttpListener final : public QTcpServer
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVServiceHttpListener)

public:
    RVServiceHttpListener(const RVServiceHttpLimits &limits,
                          RVServiceHttpConnection::Handler handler, QObject *parent = nullptr);
    ~RVServiceHttpListener() override;

    int openConnections() const { return m_open; }
    // The cap in force: the configured one, lowered to what the descriptor limit allows.
    int connectionCap() const { return m_cap; }
    // Where the connections run their handler (see RVServiceHttpConnection::Executor).
    void setExecutor(RVServiceHttpConnection::Executor executor)
    {
        m_executor = std::move(executor);
    }

    // Serves HTTPS from now on (see RVServiceTls::load).
    void setTls(const QSslConfiguration &configuration) { m_tls = configuration; }
    bool isTls() const { return m_tls.has_value(); }

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    void refuse(qintptr descriptor, const QString &why);
    const QSslConfiguration *tls() const { return m_tls ? &*m_tls : nullptr; }
    void onAcceptError(QAbstractSocket::SocketError error);

    RVServiceHttpLimits m_limits;
    RVServiceHttpConnection::Handler m_handler;
    RVServiceHttpConnection::Executor m_executor;
    std::shared_ptr<RVServiceHttpBodyBudget> m_bodyBudget;
    std::optional<QSslConfiguration> m_tls;
    int m_cap = 0;
    int m_open = 0;
    int m_refusing = 0;
    RVServiceHttpAddressBound m_addressBound;
};
