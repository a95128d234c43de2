// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicedatabase.h"

#include "service/rvservicelog.h"
#include "service/rvserviceschema.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlError>
#include <QThread>

using namespace Qt::StringLiterals;

namespace
{
std::atomic<quint64> g_nextDatabaseId{1};
std::atomic<quint64> g_nextThreadSerial{1};

// How long a SQLite writer waits for the lock. Waits for the lock are the busy handler's;
// the attempts of RVServiceDatabase::write are for the busy answers that come without a wait
// (a WAL being recovered or checkpointed) and for a wait that ran out.
constexpr int busyTimeoutMs = 5'000;
// Attempts of a connection's settings that the file's other users keep busy.
constexpr int configureAttempts = 50;

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
    // The last failed statement of this thread was worth running again (busy, lost conflict).
    bool transient = false;
    QSet<QString> lost; // connections to open again before their next session
    // Statements run that may have changed data (anything but a query), for the data version.
    quint64 changes = 0;
    QHash<QString, qint64> dataVersions; // connection -> its last "PRAGMA data_version"
    // The database closes its own connections: nothing is left for the thread's end, which
    // comes after QThread::wait() returns and may race the program's own shutdown.
    void forget(const QString &name)
    {
        statements.remove(name);
        names.removeAll(name);
        lost.remove(name);
        dataVersions.remove(name);
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

const QString dataVersionPragma = u"PRAGMA data_version"_s;

// Counts a statement that may change data; queries and the data version's own pragma do not.
void noteStatement(const QString &sql)
{
    if (!sql.startsWith(u"SELECT"_s) && sql != dataVersionPragma)
        ++t_connections.changes;
}

enum class Failure { Unique, Transient, Lost, Other };

Failure classify(const QSqlDatabase &db, const QSqlError &error)
{
    const QString code = error.nativeErrorCode();
    if (RVServiceDatabase::backendOf(db) == RVServiceDatabase::Backend::PostgreSQL) {
        if (code == u"23505"_s)
            return Failure::Unique;
        if (code == u"40001"_s || code == u"40P01"_s) // serialization failure, deadlock
            return Failure::Transient;
        // No SQLSTATE at all means no answer from the server.
        if (code.isEmpty() || code.startsWith(u"08"_s) || code.startsWith(u"57P"_s))
            return Failure::Lost;
        // A statement name the server does not know: the connection is not the one it was
        // prepared on (a pooler between), so it starts afresh, without its statements.
        if (code == u"26000"_s)
            return Failure::Lost;
        return Failure::Other;
    }
    // SQLite's extended codes: 2067 UNIQUE, 1555 PRIMARY KEY; 19 the plain constraint code.
    // The low byte is the primary code: 5 BUSY and 6 LOCKED in all their variants.
    bool numeric = false;
    const int value = code.toInt(&numeric);
    if (numeric && (value == 2067 || value == 1555 || value == 19))
        return Failure::Unique;
    if (numeric && ((value & 0xff) == 5 || (value & 0xff) == 6))
        return Failure::Transient;
    return Failure::Other;
}

// Notes a failed statement for the retry and the reconnection; true when it was a unique
// violation the caller asked to hear about (and which is then not logged).
bool noteFailure(QSqlDatabase &db, const QSqlError &error, const QString &sql,
                 bool *uniqueViolation)
{
    const Failure failure = classify(db, error);
    t_connections.transient = failure == Failure::Transient;
    if (failure == Failure::Lost)
        t_connections.lost.insert(db.connectionName());
    if (uniqueViolation)
        *uniqueViolation = failure == Failure::Unique;
    if (failure == Failure::Unique && uniqueViolation)
        return true;
    qCWarning(lcService).noquote() << u"statement failed:"_s << error.text() << sql;
    return false;
}

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
        noteFailure(db, query.lastError(), sql, nullptr);
        return std::nullopt;
    }
    if (t_connections.sessions > 0) {
        t_connections.statements[db.connectionName()].insert(sql, query);
        t_connections.used.append(query);
    }
    return query;
}
} // namespace

RVServiceDatabase::RVServiceDatabase(const QString &location)
    : m_id(g_nextDatabaseId++), m_busyTimeoutMs(busyTimeoutMs)
{
    m_location = RVServiceDatabaseLocation::parse(location, &m_locationError);
    if (!m_location)
        return;
    m_shown = m_location->shown();
    m_backend = m_location->isPostgreSQL() ? Backend::PostgreSQL : Backend::SQLite;
    m_inMemory = m_location->kind() == RVServiceDatabaseLocation::Kind::SQLiteMemory;
    m_transactionPooled = m_location->isTransactionPooled();
    m_source = m_inMemory ? u"file:rv-service-memory-%1?mode=memory&cache=shared"_s.arg(m_id)
                          : m_location->path();
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
    if (!m_mainConnection.isEmpty())
        QSqlDatabase::removeDatabase(m_mainConnection);
}

RVServiceDatabase::Backend RVServiceDatabase::backendOf(const QSqlDatabase &db)
{
    return db.driverName() == u"QPSQL"_s ? Backend::PostgreSQL : Backend::SQLite;
}

QSqlDatabase RVServiceDatabase::addConnection(const QString &name) const
{
    if (m_backend == Backend::PostgreSQL) {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, name);
        db.setHostName(m_location->host());
        db.setPort(m_location->port());
        db.setDatabaseName(m_location->databaseName());
        db.setUserName(m_location->userName());
        db.setPassword(m_location->password());
        db.setConnectOptions(m_location->connectOptions());
        return db;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
    db.setDatabaseName(m_source);
    db.setConnectOptions(m_inMemory ? u"QSQLITE_OPEN_URI"_s
                                    : u"QSQLITE_BUSY_TIMEOUT=%1"_s.arg(m_busyTimeoutMs));
    return db;
}

bool RVServiceDatabase::connect(QSqlDatabase &db, QString *error) const
{
    if (!db.isValid()) {
        *error = m_backend == Backend::PostgreSQL
                     ? u"Qt's PostgreSQL driver (QPSQL) is missing; on Debian it is in the"
                       " package libqt6sql6-psql"_s
                     : u"Qt's SQLite driver (QSQLITE) is missing"_s;
        return false;
    }
    if (!db.open()) {
        *error = u"cannot open %1: %2"_s.arg(m_shown, db.lastError().text());
        return false;
    }
    return configure(db, error);
}

bool RVServiceDatabase::configure(QSqlDatabase &db, QString *error) const
{
    QStringList settings; // none for PostgreSQL: its name is a connection parameter
    if (m_backend == Backend::PostgreSQL)
        return true;
    if (m_inMemory)
        settings = {u"PRAGMA foreign_keys = ON"_s};
    else // FULL: a booking the service confirmed must survive a power failure, as on PostgreSQL
        settings = {u"PRAGMA journal_mode = WAL"_s, u"PRAGMA synchronous = FULL"_s,
                    u"PRAGMA foreign_keys = ON"_s};
    for (const QString &setting : std::as_const(settings)) {
        // Connections that open a new file at the same moment all ask for WAL mode, and SQLite
        // answers "busy" at once to all but one rather than let them wait on each other: ask
        // again after a short pause, as a write transaction would.
        bool done = run(db, setting);
        for (int attempt = 1; !done && t_connections.transient && attempt < configureAttempts;
             ++attempt) {
            QThread::msleep(QRandomGenerator::global()->bounded(5u, 25u));
            done = run(db, setting);
        }
        if (!done) {
            *error = u"cannot configure the database: %1"_s.arg(setting);
            return false;
        }
    }
    return true;
}

bool RVServiceDatabase::open(QString *error)
{
    if (!m_location) {
        *error = m_locationError;
        return false;
    }
    if (m_location->kind() == RVServiceDatabaseLocation::Kind::SQLiteFile) {
        const QFileInfo file(m_location->path());
        if (!QDir().mkpath(file.absolutePath())) {
            *error = u"cannot create the folder of %1"_s.arg(m_shown);
            return false;
        }
    }
    m_mainConnection = u"rv-service-%1-main"_s.arg(m_id);
    QSqlDatabase db = addConnection(m_mainConnection);
    {
        QMutexLocker names(&m_namesLock);
        m_connectionNames.append(m_mainConnection);
    }
    return connect(db, error) && RVServiceSchema::migrate(db, &m_created, error);
}

QSqlDatabase RVServiceDatabase::connection()
{
    // Built for every session: a concatenation costs a small part of what arg() does.
    const QString name =
        u"rv-service-"_s + QString::number(m_id) + u"-thread-"_s + QString::number(threadSerial());
    QString error;
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        // A connection the server dropped, or that could not be opened again while the server
        // was away, is opened again before its next session.
        if (t_connections.sessions > 0 || (!t_connections.lost.remove(name) && db.isOpen()))
            return db;
        qCWarning(lcService).noquote() << u"connection to %1 lost, opening it again"_s.arg(m_shown);
        t_connections.statements.remove(name);
        t_connections.dataVersions.remove(name);
        db.close();
        if (!connect(db, &error))
            qCWarning(lcService).noquote() << error;
        return db;
    }
    QSqlDatabase db = addConnection(name);
    if (!connect(db, &error))
        qCWarning(lcService).noquote() << u"cannot open a connection:"_s << error;
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
    return Session(*this, connection(), std::move(locker));
}

RVServiceDatabase::Write RVServiceDatabase::write(const std::function<bool(QSqlDatabase &)> &work)
{
    for (int attempt = 1;; ++attempt) {
        t_connections.transient = false;
        {
            auto session = this->session();
            if (session.beginWrite()) {
                const bool done = work(session.db());
                if (done && session.commit())
                    return Write::Committed;
                if (!done)
                    session.rollback();
                if (!done && !t_connections.transient)
                    return Write::RolledBack;
            }
        }
        if (!t_connections.transient || attempt == maxAttempts)
            return Write::Failed;
        ++m_retries;
        qCInfo(lcService).noquote()
            << u"store busy: write transaction attempt %1 of %2"_s.arg(attempt + 1)
                   .arg(maxAttempts);
        // A short random pause, so that the losers of one conflict do not meet again at once.
        QThread::msleep(QRandomGenerator::global()->bounded(1u, 5u * attempt + 1));
    }
}

RVServiceDatabase::Session::Session(RVServiceDatabase &database, QSqlDatabase db,
                                    std::unique_ptr<QMutexLocker<QMutex>> locker)
    : m_database(database), m_db(std::move(db)), m_locker(std::move(locker)),
      m_firstUsed(t_connections.used.size()), m_changesBefore(t_connections.changes)
{
    // Qt's PostgreSQL driver prepares a statement by name (SQL PREPARE) and runs it by name:
    // behind a transaction pooler both must happen in one transaction, on one server
    // connection. So the whole session is a transaction, and its statements are dropped
    // before it ends (see releaseStatements()).
    m_pooled = m_database.m_transactionPooled && t_connections.sessions == 0;
    if (m_pooled)
        m_pooledTransaction = run(m_db, u"BEGIN"_s);
    ++t_connections.sessions;
}

RVServiceDatabase::Session::~Session()
{
    QList<QSqlQuery> &used = t_connections.used;
    for (qsizetype i = m_firstUsed; i < used.size(); ++i)
        used[i].finish();
    used.resize(std::min(used.size(), m_firstUsed));
    if (m_pooled)
        releaseStatements();
    if (m_pooledTransaction && !run(m_db, u"COMMIT"_s) && t_connections.changes != m_changesBefore)
        qCWarning(lcService) << "a session's changes may be lost: its commit failed";
    --t_connections.sessions;
    // After the statements are done, so that an autocommit change is in before the bump;
    // this connection's own data version does not see its own commits.
    if (t_connections.changes != m_changesBefore)
        ++m_database.m_generation;
}

// The driver deallocates a statement when its last copy goes: done here, inside the
// transaction, it reaches the server connection that holds the statement. The pooler's reset
// query removes what a failed transaction left behind.
void RVServiceDatabase::Session::releaseStatements()
{
    QList<QSqlQuery> &used = t_connections.used;
    used.resize(std::min(used.size(), m_firstUsed));
    t_connections.statements.remove(m_db.connectionName());
}

bool RVServiceDatabase::Session::beginWrite()
{
    if (m_pooled) // the session's own transaction, or none when it could not begin
        return m_pooledTransaction;
    if (backendOf(m_db) == Backend::PostgreSQL)
        return run(m_db, u"BEGIN"_s);
    return exec(m_db, u"BEGIN IMMEDIATE"_s).has_value();
}

bool RVServiceDatabase::Session::commit()
{
    if (m_pooledTransaction) {
        m_pooledTransaction = false;
        releaseStatements();
    }
    if (run(m_db, u"COMMIT"_s))
        return true;
    const bool transient = t_connections.transient;
    rollback();
    t_connections.transient = transient;
    return false;
}

void RVServiceDatabase::Session::rollback()
{
    const bool transient = t_connections.transient;
    if (m_pooledTransaction) {
        m_pooledTransaction = false;
        releaseStatements();
    }
    run(m_db, u"ROLLBACK"_s);
    t_connections.transient = transient; // the failure that led here decides about a retry
}

QByteArray RVServiceDatabase::dataVersion()
{
    if (m_backend == Backend::PostgreSQL)
        return m_snapshots.answer([this] { return snapshot(); });
    auto session = this->session();
    QSqlDatabase &db = session.db();
    auto query = exec(db, dataVersionPragma);
    if (!query || !query->next())
        return {};
    const qint64 seen = query->value(0).toLongLong();
    const auto known = t_connections.dataVersions.constFind(db.connectionName());
    if (known == t_connections.dataVersions.constEnd() || *known != seen) {
        t_connections.dataVersions.insert(db.connectionName(), seen);
        ++m_generation;
    }
    return QByteArray::number(m_generation.load());
}

QByteArray RVServiceDatabase::snapshot()
{
    // Equal snapshots see the same transactions as finished, hence the same data; the server's
    // snapshots are the same for every connection to it.
    auto session = this->session();
    auto query = exec(session.db(), u"SELECT CAST(pg_current_snapshot() AS TEXT)"_s);
    return query && query->next() ? query->value(0).toString().toLatin1() : QByteArray();
}

bool RVServiceDatabase::run(QSqlDatabase &db, const QString &sql)
{
    noteStatement(sql);
    QSqlQuery query(db);
    if (query.exec(sql))
        return true;
    noteFailure(db, query.lastError(), sql, nullptr);
    return false;
}

std::optional<QSqlQuery> RVServiceDatabase::exec(QSqlDatabase &db, const QString &sql,
                                                 const QVariantList &values, bool *uniqueViolation)
{
    noteStatement(sql);
    std::optional<QSqlQuery> prepared = ::prepared(db, sql);
    if (!prepared)
        return std::nullopt;
    QSqlQuery &query = *prepared;
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(static_cast<int>(i), values.at(i));
    if (!query.exec()) {
        noteFailure(db, query.lastError(), sql, uniqueViolation);
        return std::nullopt;
    }
    return prepared;
}
