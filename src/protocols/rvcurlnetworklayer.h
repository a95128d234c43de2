// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvnetworklayer.h"

#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

struct RVCurlLibrary;

// The network layer on libcurl. One thread of its own runs one multi handle, whose cache of
// open connections every transfer shares: sequential exchanges with the service reuse one
// connection, concurrent ones run side by side up to the per-host limit and queue beyond it.
// libcurl rather than Qt's HTTP client because Qt sends a request again, POST included, when
// a connection ends early, and nothing in Qt turns that off; libcurl asks before it rewinds a
// request body, so a transaction is sent again only where the request says it may be. The
// idle time-out is kept here (libcurl counts only whole seconds of low speed). The thread, the
// multi handle and libcurl itself come with the first transfer; a layer that never sends
// costs nothing. Without libcurl every transfer ends at once, from start(), as a failure.
// Over HTTPS the service's certificate and name are verified against the system's CAs and a
// hospital's own (RVTlsTrust) before anything is sent; plain HTTP beyond loopback is refused
// at start() unless allowed (RVServiceAddress).
class RVCurlNetworkLayer final : public RVNetworkLayer
{
public:
    struct Options {
        long maxHostConnections = 8;
        long maxCachedConnections = 16;
        // A connection idle longer than this is not reused but replaced. The service closes
        // connections idle for 30 s; one reused at that very moment could take a transaction
        // down with it, and a transaction is never sent again.
        long maxIdleSecondsBeforeReuse = 20;
    };

    RVCurlNetworkLayer();
    explicit RVCurlNetworkLayer(const Options &options);
    ~RVCurlNetworkLayer() override;
    RVCurlNetworkLayer(const RVCurlNetworkLayer &) = delete;
    RVCurlNetworkLayer &operator=(const RVCurlNetworkLayer &) = delete;

    quint64 start(const Request &request, std::shared_ptr<Sink> sink) override;
    void cancel(quint64 transfer) override;
    void abortAll() override;

    // Connections opened so far, for tests and benchmarks.
    qint64 connectionsOpened() const { return m_connectionsOpened.load(); }

    struct Transfer;

private:
    struct Command {
        quint64 id = 0;
        std::unique_ptr<Transfer> add; // none: cancel the transfer with this id (0: abort all)
    };

    bool ensureRunning();
    void wakeUp();
    void run();
    void takeCommands();
    void add(std::unique_ptr<Transfer> transfer);
    bool trustExtraCa(void *easy, QString *error);
    void remove(quint64 id);
    void readMessages();
    void expireIdle();
    int pollTimeoutMs() const;
    void endTransfer(quint64 id, const Failure &failure);
    void endAll(const Failure &failure);

    Options m_options;
    std::once_flag m_startOnce;
    std::atomic<bool> m_running{false};
    const RVCurlLibrary *m_curl = nullptr;
    void *m_multi = nullptr; // CURLM
    std::mutex m_mutex;      // guards m_commands and m_stopping
    std::deque<Command> m_commands;
    bool m_stopping = false;
    bool m_aborting = false; // guarded by m_mutex
    std::atomic<quint64> m_nextId{1};
    std::atomic<qint64> m_connectionsOpened{0};
    std::map<quint64, std::unique_ptr<Transfer>> m_transfers; // the network thread's alone
    QByteArray m_caBundle; // the network thread's alone, as the next
    QString m_caBundleFor;
    std::thread m_thread;
};
