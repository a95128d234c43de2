// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QProcess>
#include <QTemporaryFile>

// One server of the benchmark as a child process: an rv-service on a store, or the bare
// server, the service's own HTTP layer answering every request with one fixed reply (this
// benchmark's executable started with --bare-server). Both listen on a loopback port of the
// system's choice and name it on their first line; the service's log goes to a file, as a
// deployed service's would. Stopped when the object goes.
class BenchService final
{
public:
    BenchService() = default;
    ~BenchService();
    Q_DISABLE_COPY_MOVE(BenchService)

    // Further options (--workers, --reply-cache) follow the address and the database.
    void startService(const QString &program, const QString &database, const QStringList &options);
    void startBare(const QString &benchProgram);
    bool waitForPort();
    quint16 port() const { return m_port; }
    qint64 pid() const { return m_process.processId(); }
    // The end of the log, for a service that did not start.
    QString errorText();

    // The bare server's own main.
    static int runBareServer();

private:
    void start(const QString &program, const QStringList &arguments);

    QProcess m_process;
    QTemporaryFile m_log;
    quint16 m_port = 0;
};
