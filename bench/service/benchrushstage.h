// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

class BenchService;
class BenchStore;

// What a rush runs against, started for it and stopped when the object goes: one rv-service
// process on a new SQLite file, one on a new database of the PostgreSQL server that libpq's
// environment names, or the stack of the cluster script (HAProxy in front of several
// processes, PgBouncer, PostgreSQL) in a directory of its own.
class BenchRushStage final
{
public:
    enum class Kind { SQLite, PostgreSQL, Stack };

    BenchRushStage(Kind kind, const QStringList &serviceOptions);
    ~BenchRushStage();
    Q_DISABLE_COPY_MOVE(BenchRushStage)

    // Null for a name that is none of "sqlite", "postgresql" and "stack".
    static std::unique_ptr<BenchRushStage> make(const QString &name,
                                                const QStringList &serviceOptions);

    QString name() const;
    // Starts it with room for the clients; false with *error when it cannot run here.
    bool start(int clients, QString *error);
    quint16 port() const { return m_port; }
    // The store, for the direct reads and writes of the rush.
    QString location() const { return m_location; }
    // The processes that serve the rush, for their CPU time.
    QList<qint64> pids() const;

private:
    bool startService(const QString &database, int clients, QString *error);
    bool startStack(QString *error);

    Kind m_kind;
    QStringList m_serviceOptions;
    QTemporaryDir m_dir;
    std::unique_ptr<BenchStore> m_store;
    std::unique_ptr<BenchService> m_service;
    QString m_clusterScript;
    bool m_stackStarted = false;
    quint16 m_port = 0;
    QString m_location;
};
