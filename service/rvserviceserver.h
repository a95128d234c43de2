// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "service/rvservicehttplistener.h"
#include "service/rvservicerouter.h"
#include "service/rvserviceworkerpool.h"

#include <QHash>
#include <QHostAddress>
#include <QMutex>
#include <QObject>

class RVServiceDatabase;

// The HTTP face of the service: the booking endpoint "/hrzp2/ComService", the doctors'
// photographs under "/photos/", the store lookup "/lookup" and the update page "/update".
// Lives on the thread that runs its event loop; every exchange writes one log line. The HTTP
// layer is the service's own listener, which bounds what each client may hold (see
// RVServiceHttpLimits); the handlers here see only complete requests, and run on the worker
// threads, each with its own database connection, so that the service uses every core.
class RVServiceServer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVServiceServer)

public:
    // workers < 1: two per core; replyCacheBytes 0: no reply cache.
    RVServiceServer(RVServiceDatabase &database, const QString &latestVersion,
                    const RVServiceHttpLimits &limits = {}, int workers = 0,
                    qsizetype replyCacheBytes = RVServiceRouter::defaultReplyCacheBytes,
                    QObject *parent = nullptr);
    ~RVServiceServer() override;

    // The port listened on (the system's choice for port 0), or 0 on failure.
    quint16 listen(const QHostAddress &address, quint16 port);
    // Serves HTTPS (see RVServiceTls::load); before listen().
    void setTls(const QSslConfiguration &configuration) { m_http.setTls(configuration); }
    // "http://host:port" (or https://) of the listening socket.
    QString baseUrl() const;

    // Connections held at once, for the tests and the log.
    int openConnections() const { return m_http.openConnections(); }
    // Answers one complete request; the route is chosen by its path.
    RVServiceHttpResponse handle(const RVServiceHttpRequest &request);

private:
    RVServiceHttpResponse exchange(const RVServiceHttpRequest &request);
    RVServiceHttpResponse photo(const QString &file);
    RVServiceHttpResponse lookup(const RVServiceHttpRequest &request) const;
    RVServiceHttpResponse updatePage(const RVServiceHttpRequest &request) const;
    // The address the client used (its Host header when that is a plain host name), so that
    // the photograph and update links work from wherever the client is.
    QString baseFor(const RVServiceHttpRequest &request) const;
    QString scheme() const;

    RVServiceHttpListener m_http;
    RVServiceRouter m_router;
    QString m_latestVersion;
    QHostAddress m_address;
    quint16 m_port = 0;
    QMutex m_photosLock;
    QHash<QString, QByteArray> m_photos; // drawn once per doctor
    // Last, so that it is gone (its work done) before anything that work uses.
    RVServiceWorkerPool m_workers;
};
