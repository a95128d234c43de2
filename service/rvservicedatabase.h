// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QMutex>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <memory>
#include <optional>

// The service's SQLite store. Qt's SQL connections belong to the thread that opened them, so
// every thread gets its own connection to the same database on first use. A file database runs
// in WAL mode with a busy time-out, so readers never wait and writers queue; a ":memory:"
// database is one shared-cache memory database for the whole process, whose connections take
// a lock around each session because shared-cache locks do not wait. All SQL goes through
// exec() with bound values: no statement is ever built from request text.
class RVServiceDatabase final
{
public:
    explicit RVServiceDatabase(const QString &path);
    ~RVServiceDatabase();
    Q_DISABLE_COPY_MOVE(RVServiceDatabase)

    // Opens the database on the calling thread and brings the schema up to date.
    bool open(QString *error);
    QString path() const { return m_path; }
    bool isInMemory() const { return m_inMemory; }
    // True when open() found an empty database and created the schema.
    bool wasCreated() const { return m_created; }

    // One unit of work on the calling thread's connection.
    class Session
    {
    public:
        ~Session();
        Session(Session &&) = delete;
        QSqlDatabase &db() { return m_db; }
        // Statements of a write transaction: BEGIN IMMEDIATE takes the write lock at once,
        // so the checks that follow see what the writes will change.
        bool beginImmediate();
        bool commit();
        void rollback();

    private:
        friend class RVServiceDatabase;
        Session(QSqlDatabase db, std::unique_ptr<QMutexLocker<QMutex>> locker);
        QSqlDatabase m_db;
        std::unique_ptr<QMutexLocker<QMutex>> m_locker;
        qsizetype m_firstUsed = 0;
    };
    Session session();

    // Binds the values in order and runs one statement, prepared once per connection when it
    // runs inside a session; nullopt on error, logged
    // unless it is a UNIQUE or PRIMARY KEY violation, which *uniqueViolation then reports.
    static std::optional<QSqlQuery> exec(QSqlDatabase &db, const QString &sql,
                                         const QVariantList &values = {},
                                         bool *uniqueViolation = nullptr);

private:
    QSqlDatabase connection();
    QSqlDatabase addConnection(const QString &name) const;
    bool configure(QSqlDatabase &db, QString *error) const;

    QString m_path;
    QString m_source; // what the driver opens: the file, or the shared memory URI
    bool m_inMemory = false;
    bool m_created = false;
    quint64 m_id = 0;
    QString m_mainConnection;
    QMutex m_memoryLock;
    QMutex m_namesLock;
    QStringList m_connectionNames;
};
