// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvbookingstorefile.h"

#include "models/modelslog.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>

using namespace Qt::StringLiterals;

namespace
{
constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;

// Another process may have added it meanwhile.
QString remindersTable()
{
    return u"CREATE TABLE IF NOT EXISTS reminders (key TEXT PRIMARY KEY, shown TEXT NOT NULL)"_s;
}

QString watchesTable()
{
    return u"CREATE TABLE IF NOT EXISTS watches (key TEXT PRIMARY KEY, doctor TEXT NOT NULL,"
           " schedule TEXT NOT NULL, created TEXT NOT NULL)"_s;
}

QString connectionName()
{
    static QAtomicInteger<quint64> next;
    return u"rv-bookingstore-%1"_s.arg(next.fetchAndAddRelaxed(1));
}

// SQLite's primary codes for a file that is damaged (SQLITE_CORRUPT) or no database at all
// (SQLITE_NOTADB).
bool showsDamage(const QSqlError &error)
{
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == 11 || code == 26;
}

// Made before SQLite sees it, so that the file never exists with wider permissions; SQLite
// gives its journal the database's permissions.
bool prepareFile(const QString &path)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile file(path);
    if (!file.exists() && !file.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnly))
        return false;
    // Narrowed again in case the file was made some other way.
    return file.setPermissions(ownerOnly);
}
} // namespace

RVBookingStoreFile::RVBookingStoreFile(QString path, QString yhid)
    : m_path(std::move(path)), m_yhid(std::move(yhid)), m_connection(connectionName())
{
    m_open = open();
    if (!m_open && m_damaged)
        m_open = rebuild();
}

RVBookingStoreFile::~RVBookingStoreFile()
{
    close();
}

bool RVBookingStoreFile::open()
{
    if (!prepareFile(m_path)) {
        qCWarning(lcBookingStore) << "cannot make the store file" << m_path;
        return false;
    }
    if (!connect())
        return false;
    m_open = true;
    const Layout layout = check();
    if (layout == Layout::Ready)
        return true;
    m_damaged = m_damaged || layout == Layout::Foreign;
    close();
    return false;
}

bool RVBookingStoreFile::connect()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, m_connection);
    db.setDatabaseName(m_path);
    db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=5000"_s);
    if (db.open())
        return true;
    qCWarning(lcBookingStore) << "cannot open the store" << db.lastError().text();
    m_damaged = showsDamage(db.lastError());
    return false;
}

void RVBookingStoreFile::close()
{
    if (!QSqlDatabase::contains(m_connection))
        return;
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
    m_open = false;
}

bool RVBookingStoreFile::rebuild()
{
    close();
    qCInfo(lcBookingStore) << "replacing the store" << m_path;
    m_damaged = false;
    if (!removeFiles(m_path))
        return false;
    m_open = open();
    return m_open;
}

bool RVBookingStoreFile::removeFiles(const QString &path)
{
    bool ok = true;
    for (const QString &suffix : {QString(), u"-journal"_s, u"-wal"_s, u"-shm"_s}) {
        QFile file(path + suffix);
        if (file.exists() && !file.remove()) {
            qCWarning(lcBookingStore) << "cannot remove" << file.fileName() << file.errorString();
            ok = false;
        }
    }
    return ok;
}

std::optional<QSqlQuery> RVBookingStoreFile::exec(const QString &sql, const QVariantList &values)
{
    if (!m_open)
        return std::nullopt;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    bool ok = query.prepare(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    ok = ok && query.exec();
    if (ok)
        return query;
    qCWarning(lcBookingStore) << "store statement failed:" << query.lastError().text();
    m_damaged = m_damaged || showsDamage(query.lastError());
    return std::nullopt;
}

bool RVBookingStoreFile::write(const std::function<bool()> &work)
{
    if (!m_open)
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction()) {
        m_damaged = m_damaged || showsDamage(db.lastError());
        return false;
    }
    if (work() && db.commit())
        return true;
    db.rollback();
    return false;
}

RVBookingStoreFile::Layout RVBookingStoreFile::check()
{
    auto version = exec(u"PRAGMA user_version"_s);
    auto tables = exec(u"SELECT COUNT(*) FROM sqlite_master"_s);
    if (!version || !version->next() || !tables || !tables->next())
        return Layout::Failed;
    const int found = version->value(0).toInt();
    if (found == 0 && tables->value(0).toInt() == 0)
        return createTables() ? Layout::Ready : Layout::Failed;
    if (found != 1 && found != kSchemaVersion) {
        qCInfo(lcBookingStore) << "the store has another layout:" << found;
        return Layout::Foreign;
    }
    auto owner = exec(u"SELECT value FROM meta WHERE key = 'yhid'"_s);
    if (!owner) // the version read, the table not: not our layout
        return Layout::Foreign;
    if (!owner->next() || owner->value(0).toString() != m_yhid)
        return Layout::Foreign;
    if (found == 1 && !upgradeFromFirstLayout())
        return Layout::Failed;
    return Layout::Ready;
}

bool RVBookingStoreFile::createTables()
{
    return write([this] {
        return exec(u"CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)"_s) &&
               exec(u"CREATE TABLE bookings (key TEXT PRIMARY KEY, record TEXT NOT NULL,"
                    " listed INTEGER NOT NULL, position INTEGER NOT NULL)"_s) &&
               exec(u"CREATE TABLE hospitals (hospid TEXT PRIMARY KEY, record TEXT NOT NULL)"_s) &&
               exec(remindersTable()) && exec(watchesTable()) &&
               exec(u"INSERT INTO meta (key, value) VALUES ('yhid', ?)"_s, {m_yhid}) &&
               exec(u"PRAGMA user_version = %1"_s.arg(kSchemaVersion));
    });
}

bool RVBookingStoreFile::upgradeFromFirstLayout()
{
    qCInfo(lcBookingStore) << "bringing the store to layout" << kSchemaVersion;
    return write([this] {
        return exec(remindersTable()) && exec(watchesTable()) &&
               exec(u"PRAGMA user_version = %1"_s.arg(kSchemaVersion));
    });
}
