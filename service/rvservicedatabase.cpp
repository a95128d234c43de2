// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicedatabase.h"

#include "service/rvservicelog.h"
#include "service/rvserviceschema.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QThread>

#include <atomic>

using namespace Qt::StringLiterals;

namespace
{
std::atomic<quint64> g_nextDatabaseId{1};
std::atomic<quint64> g_nextThreadSerial{1};

// A serial number per thread that is never reused, unlike a thread's address.
quint64 threadSerial()
{
    thread_local const quint64 serial = g_nextThreadSerial++;
    return serial;
}

// Connections a thread opened, with their prepared statements, closed when the thread ends.
// Statements are reused only inside a session, which resets every statement it ran when it
// ends: a statement left open would hold a read snapshot and keep the WAL from shrinking.
struct ThreadConnections {
    QStringList names;
    QHash<QString, QHash<QString, QSqlQuery>> statements; // connection -> SQL -> prepared
    QList<QSqlQuery> used;                                // run in the open session
    int sessions = 0;
    // The database closes its own connections: nothing is left for the thread's end, which
    // comes after QThread::wait() returns and may race the program's own shutdown.
    void forget(const QString &name)
    {
        statements.remove(name);
        names.removeAll(name);
    }
    ~ThreadConnections()
    {
        used.clear();
        statements.clear();
        for (const QString &name : std::as_const(names))
            QSqlDatabase::removeDatabase(name);
    }
};
thread_local ThreadConnections t_connections;

std::optional<QSqlQuery> prepared(QSqlDatabase &db, const QString &sql)
{
    if (t_connections.sessions > 0) {
        auto &cache = t_connections.statements[db.connectionName()];
        const auto found = cache.constFind(sql);
        if (found != cache.constEnd()) {
            t_connections.used.append(*found);
            return *found;
        }
    }
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        qCWarning(lcService).noquote() << u"cannot prepare:"_s << query.lastError().text() << sql;
        return std::nullopt;
    }
    if (t_connections.sessions > 0) {
        t_connections.statements[db.connectionName()].insert(sql, query);
        t_connections.used.append(query);
    }
    return query;
}
} // namespace

RVServiceDatabase::RVServiceDatabase(const QString &path)
    : m_path(path), m_inMemory(path == u":memory:"_s), m_id(g_nextDatabaseId++)
{
    m_source =
        m_inMemory ? u"file:rv-service-memory-%1?mode=memory&cache=shared"_s.arg(m_id) : path;
}

RVServiceDatabase::~RVServiceDatabase()
{
    QMutexLocker names(&m_namesLock);
    // The main connection last: for a memory database it holds the data alive.
    for (const QString &name : std::as_const(m_connectionNames)) {
        t_connections.forget(name); // this thread's; other threads' end with those threads
        if (name != m_mainConnection)
            QSqlDatabase::removeDatabase(name);
    }
    QSqlDatabase::removeDatabase(m_mainConnection);
}

QSqlDatabase RVServiceDatabase::addConnection(const QString &name) const
{
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
    db.setDatabaseName(m_source);
    db.setConnectOptions(m_inMemory ? u"QSQLITE_OPEN_URI"_s : u"QSQLITE_BUSY_TIMEOUT=10000"_s);
    return db;
}

bool RVServiceDatabase::configure(QSqlDatabase &db, QString *error) const
{
    const QStringList pragmas =
        m_inMemory ? QStringList{u"PRAGMA foreign_keys = ON"_s}
                   : QStringList{u"PRAGMA journal_mode = WAL"_s, u"PRAGMA synchronous = NORMAL"_s,
                                 u"PRAGMA foreign_keys = ON"_s};
    for (const QString &pragma : pragmas) {
        if (!exec(db, pragma)) {
            *error = u"cannot configure the database: %1"_s.arg(pragma);
            return false;
        }
    }
    return true;
}

bool RVServiceDatabase::open(QString *error)
{
    if (!m_inMemory) {
        const QFileInfo file(m_path);
        if (!QDir().mkpath(file.absolutePath())) {
            *error = u"cannot create the folder of %1"_s.arg(m_path);
            return false;
        }
    }
    m_mainConnection = u"rv-service-%1-main"_s.arg(m_id);
    QSqlDatabase db = addConnection(m_mainConnection);
    {
        QMutexLocker names(&m_namesLock);
        m_connectionNames.append(m_mainConnection);
    }
    if (!db.open()) {
        *error = u"cannot open %1: %2"_s.arg(m_path, db.lastError().text());
        return false;
    }
    if (!configure(db, error))
        return false;
    const int before = RVServiceSchema::version(db);
    if (!RVServiceSchema::migrate(db, error))
        return false;
    m_created = before == 0;
    return true;
}

QSqlDatabase RVServiceDatabase::connection()
{
    const QString name = u"rv-service-%1-thread-%2"_s.arg(m_id).arg(threadSerial());
    if (QSqlDatabase::contains(name))
        return QSqlDatabase::database(name, false);
    QSqlDatabase db = addConnection(name);
    QString error;
    if (!db.open() || !configure(db, &error))
        qCWarning(lcService).noquote()
            << u"cannot open a connection:"_s << db.lastError().text() << error;
    {
        QMutexLocker names(&m_namesLock);
        m_connectionNames.append(name);
    }
    t_connections.names.append(name);
    return db;
}

RVServiceDatabase::Session RVServiceDatabase::session()
{
    // The lock first: a memory database's connections must not overlap at all.
    std::unique_ptr<QMutexLocker<QMutex>> locker;
    if (m_inMemory)
        locker = std::make_unique<QMutexLocker<QMutex>>(&m_memoryLock);
    return Session(connection(), std::move(locker));
}

RVServiceDatabase::Session::Session(QSqlDatabase db, std::unique_ptr<QMutexLocker<QMutex>> locker)
    : m_db(std::move(db)), m_locker(std::move(locker)), m_firstUsed(t_connections.used.size())
{
    ++t_connections.sessions;
}

RVServiceDatabase::Session::~Session()
{
    QList<QSqlQuery> &used = t_connections.used;
    for (qsizetype i = m_firstUsed; i < used.size(); ++i)
        used[i].finish();
    used.resize(std::min(used.size(), m_firstUsed));
    --t_connections.sessions;
}

bool RVServiceDatabase::Session::beginImmediate()
{
    return exec(m_db, u"BEGIN IMMEDIATE"_s).has_value();
}

bool RVServiceDatabase::Session::commit()
{
    if (exec(m_db, u"COMMIT"_s))
        return true;
    rollback();
    return false;
}

void RVServiceDatabase::Session::rollback()
{
    exec(m_db, u"ROLLBACK"_s);
}

std::optional<QSqlQuery> RVServiceDatabase::exec(QSqlDatabase &db, const QString &sql,
                                                 const QVariantList &values, bool *uniqueViolation)
{
    std::optional<QSqlQuery> prepared = ::prepared(db, sql);
    if (!prepared)
        return std::nullopt;
    QSqlQuery &query = *prepared;
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(static_cast<int>(i), values.at(i));
    if (!query.exec()) {
        // SQLite's extended codes: 2067 UNIQUE, 1555 PRIMARY KEY; 19 the plain constraint code.
        const QString code = query.lastError().nativeErrorCode();
        const bool unique = code == u"2067"_s || code == u"1555"_s || code == u"19"_s;
        if (uniqueViolation)
            *uniqueViolation = unique;
        if (!unique || !uniqueViolation)
            qCWarning(lcService).noquote()
                << u"statement failed:"_s << query.lastError().text() << sql;
        return std::nullopt;
    }
    return prepared;
}
