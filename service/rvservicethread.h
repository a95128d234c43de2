// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "service/rvserviceoptions.h"

#include <QSemaphore>
#include <QString>
#include <QThread>

// Runs a whole service on a thread of its own, for the tests and the benchmark: the caller
// keeps its thread free to make blocking client calls. Listens on an ephemeral loopback
// port with an in-memory database unless the options say otherwise.
class RVServiceThread final : public QThread
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVServiceThread)

public:
    // Loopback, port 0 (the system's choice), ":memory:", demo data seeded.
    static RVServiceOptions ephemeralOptions();

    explicit RVServiceThread(const RVServiceOptions &options = ephemeralOptions(),
                             QObject *parent = nullptr);
    ~RVServiceThread() override;

    // Starts the thread and waits until the service listens; false with a message otherwise.
    bool startService(QString *error);
    quint16 port() const { return m_port; }
    QString baseUrl() const { return m_baseUrl; }

protected:
    void run() override;

private:
    RVServiceOptions m_options;
    QSemaphore m_ready;
    QString m_error;
    quint16 m_port = 0;
    QString m_baseUrl;
};
