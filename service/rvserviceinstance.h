// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "service/rvserviceoptions.h"

#include <QDate>
#include <QString>

#include <memory>

class QTimer;
class RVServiceDatabase;
class RVServiceServer;

// One running service: its database (opened, migrated and seeded as the options say) and its
// HTTP server, both living on the thread that starts it. A timer tops up the demo schedules
// when the date changes, so a service left running keeps offering two weeks ahead.
class RVServiceInstance final
{
public:
    explicit RVServiceInstance(const RVServiceOptions &options);
    ~RVServiceInstance();
    Q_DISABLE_COPY_MOVE(RVServiceInstance)

    bool start(QString *error);
    quint16 port() const { return m_port; }
    QString baseUrl() const;
    RVServiceDatabase &database() { return *m_database; }

private:
    void refreshIfNewDay();

    RVServiceOptions m_options;
    std::unique_ptr<RVServiceDatabase> m_database;
    std::unique_ptr<RVServiceServer> m_server;
    std::unique_ptr<QTimer> m_dayTimer;
    QDate m_refreshedFor;
    quint16 m_port = 0;
};
