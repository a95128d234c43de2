// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "service/rvservicedatabaselocation.h"
#include "service/rvservicesharedcheck.h"

#include <QMutex>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

// The service's store: SQLite (a file, or ":memory:") or a PostgreSQL server that several
// service processes share. Qt's SQL connections belong to the thread that opened them, so
// every thread gets its own connection on first use. A SQLite file runs in WAL mode with a
// busy time-out, so readers never wait and writers queue; a ":memory:" database is one
// shared-cache memory database for the whole process, whose connections take a lock around
// each session because shared-cache locks do not wait. PostgreSQL runs at its default
// isolation (read committed): the write transactions take their row locks by conditional
// updates and rely on unique indexes, in the same order everywhere. All SQL goes through
// exec() with bound values: no statement is ever built from request text.
class RVServiceDatabase final
{
public:
    enum class Backend { SQLite, PostgreSQL };
    // What a write transaction came to.
    enum class Write { Committed, RolledBack, Failed };
    // Attempts of one write transaction when the store is busy or the transaction loses a
    // conflict; each attempt after the first is counted in retries().
    static constexpr int maxAttempts = 3;

    // A SQLite path, ":memory:" or a postgresql:// URI (see RVServiceDatabaseLocation).
    explicit RVServiceDatabase(const QString &location);
    ~RVServiceDatabase();
    Q_DISABLE_COPY_MOVE(RVServiceDatabase)

    // How long a SQLite writer waits for the write lock before the attempt counts as busy;
    // takes effect for connections opened afterwards.
    void setBusyTimeout(int ms) { m_busyTimeoutMs = ms; }
    // Opens the database on the calling thread and brings the schema up to date.
    bool open(QString *error);
    Backend backend() const { return m_backend; }
    bool isInMemory() const { return m_inMemory; }
    // The location for messages: a URI without its password.
    QString shown() const { return m_shown; }
    // True when open() found an empty database and created the schema.
    bool wasCreated() const { return m_created; }
    // Write transactions run again because the store was busy or a conflict was lost.
    quint64 retries() const { return m_retries.load(); }

    // A tag of the data as a statement on the calling thread would see it now: two equal tags
    // mean that nothing was committed between them, by this process or by any other. A
    // reply computed after a tag was taken is therefore at least as new as the tag says.
    // PostgreSQL: the current snapshot (the transactions it sees as finished), one check
    // shared by the threads asking at the same time (RVServiceSharedCheck). SQLite: a counter
    // that every session with a change in it bumps when it ends, and that a connection bumps
    // when it sees another connection's commit ("PRAGMA data_version"; a connection opened
    // anew counts as having seen one). Empty when the store cannot say.
    QByteArray dataVersion();

    // One unit of work on the calling thread's connection.
    class Session
    {
    public:
        ~Session();
        Session(Session &&) = delete;
        QSqlDatabase &db() { return m_db; }
        // Starts a write transaction. SQLite's BEGIN IMMEDIATE takes the write lock at once,
        // so the checks that follow see what the writes will change; PostgreSQL's writes
        // lock the rows they change.
        bool beginWrite();
        bool commit();
        void rollback();

    private:
        friend class RVServiceDatabase;
        Session(RVServiceDatabase &database, QSqlDatabase db,
                std::unique_ptr<QMutexLocker<QMutex>> locker);
        RVServiceDatabase &m_database;
        QSqlDatabase m_db;
        std::unique_ptr<QMutexLocker<QMutex>> m_locker;
        void releaseStatements();
        qsizetype m_firstUsed = 0;
        quint64 m_changesBefore = 0;
        // Behind a transaction pooler the session is one transaction, opened here.
        bool m_pooled = false;
        bool m_pooledTransaction = false;
    };
    Session session();

    // Runs work inside one write transaction on the calling thread: committed when the work
    // returns true, rolled back when it returns false. When a statement failed because the
    // store was busy or the transaction lost a conflict, the whole work runs again, up to
    // maxAttempts times; the work must therefore keep nothing from a failed attempt.
    Write write(const std::function<bool(QSqlDatabase &)> &work);

    // Binds the values in order and runs one statement, prepared once per connection when it
    // runs inside a session; nullopt on error, logged
    // unless it is a UNIQUE or PRIMARY KEY violation, which *uniqueViolation then reports.
    static std::optional<QSqlQuery> exec(QSqlDatabase &db, const QString &sql,
                                         const QVariantList &values = {},
                                         bool *uniqueViolation = nullptr);
    // Runs a statement without values as it stands: schema changes and transaction control,
    // which PostgreSQL does not prepare.
    static bool run(QSqlDatabase &db, const QString &sql);
    static Backend backendOf(const QSqlDatabase &db);

private:
    QSqlDatabase connection();
    QSqlDatabase addConnection(const QString &name) const;
    bool connect(QSqlDatabase &db, QString *error) const;
    bool configure(QSqlDatabase &db, QString *error) const;
    QByteArray snapshot(); // PostgreSQL's current snapshot, on the calling thread's connection

    std::optional<RVServiceDatabaseLocation> m_location;
    QString m_locationError;
    QString m_source; // what the SQLite driver opens: the file, or the shared memory URI
    QString m_shown;
    Backend m_backend = Backend::SQLite;
    bool m_inMemory = false;
    bool m_transactionPooled = false;
    bool m_created = false;
    quint64 m_id = 0;
    std::atomic<quint64> m_retries{0};
    std::atomic<quint64> m_generation{0}; // SQLite's data version, see dataVersion()
    RVServiceSharedCheck m_snapshots;
    int m_busyTimeoutMs;
    QString m_mainConnection;
    QMutex m_memoryLock;
    QMutex m_namesLock;
    QStringList m_connectionNames;
};
