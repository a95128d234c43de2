// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "benchrushstage.h"

#include "benchservice.h"
#include "benchstore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace
{
constexpr int clusterStartMs = 180'000;
constexpr int clusterStopMs = 60'000;

QString firstLine(const QString &path, int line = 0)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll()).split(u'\n').value(line).trimmed();
}

// The processes whose parent is one of `parents`: PostgreSQL's backends do the work of its
// connections and are not counted in the postmaster's own time.
QList<qint64> childrenOf(const QList<qint64> &parents)
{
    QList<qint64> children;
    const QStringList entries = QDir(u"/proc"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric)
            continue;
        QFile file(u"/proc/%1/stat"_s.arg(pid));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> fields = file.readAll().split(')').value(1).split(' ');
        if (parents.contains(fields.value(2).toLongLong()))
            children.append(pid);
    }
    return children;
}
} // namespace

BenchRushStage::BenchRushStage(Kind kind, const QStringList &serviceOptions)
    : m_kind(kind), m_serviceOptions(serviceOptions)
{
    m_clusterScript = qEnvironmentVariable("RV_CLUSTER_SCRIPT", QStringLiteral(RV_CLUSTER_SCRIPT));
}

BenchRushStage::~BenchRushStage()
{
    m_service.reset();
    if (!m_stackStarted)
        return;
    // The stack's logs, for a look at what the front refused and why.
    if (const QString keep = qEnvironmentVariable("RV_RUSH_KEEP_LOGS"); !keep.isEmpty()) {
        const QDir stack(m_dir.filePath(u"stack"_s));
        QDir().mkpath(keep);
        for (const QString &log : stack.entryList({u"*.log"_s}, QDir::Files))
            QFile::copy(stack.filePath(log), QDir(keep).filePath(log));
    }
    QProcess stop;
    stop.start(u"bash"_s, {m_clusterScript, u"stop"_s, m_dir.filePath(u"stack"_s)});
    if (!stop.waitForFinished(clusterStopMs))
        stop.kill();
    stop.waitForFinished(5'000);
}

std::unique_ptr<BenchRushStage> BenchRushStage::make(const QString &name,
                                                     const QStringList &serviceOptions)
{
    const QHash<QString, Kind> kinds{{u"sqlite"_s, Kind::SQLite},
                                     {u"postgresql"_s, Kind::PostgreSQL},
                                     {u"stack"_s, Kind::Stack}};
    if (!kinds.contains(name))
        return nullptr;
    return std::make_unique<BenchRushStage>(kinds.value(name), serviceOptions);
}

QString BenchRushStage::name() const
{
    switch (m_kind) {
    case Kind::SQLite:
        return u"SQLite, 1 process"_s;
    case Kind::PostgreSQL:
        return u"PostgreSQL, 1 process"_s;
    case Kind::Stack:
        return u"stack"_s;
    }
    return {};
}

bool BenchRushStage::start(int clients, QString *error)
{
    if (m_kind == Kind::Stack)
        return startStack(error);
    if (m_kind == Kind::PostgreSQL) {
        // The server libpq's environment names (pg_virtualenv); else the stack's own, so that
        // the two compare on the same database engine and settings, the stack's processes
        // waiting idle meanwhile.
        if (!qEnvironmentVariableIsSet("PGPORT") && !qEnvironmentVariableIsSet("PGHOST")) {
            if (!startStack(error))
                return false;
            const QString data = m_dir.filePath(u"stack/pg/data/postmaster.pid"_s);
            qputenv("PGHOST", "127.0.0.1");
            qputenv("PGPORT", firstLine(data, 3).toLatin1());
            qputenv("PGUSER", "rv");
        }
        m_store = BenchStore::postgresql(u"rvrush"_s, error);
        if (!m_store)
            return false;
        return startService(m_store->location(), clients, error);
    }
    return startService(m_dir.filePath(u"rush.sqlite"_s), clients, error);
}

// One process with room for every client: without a front to queue them, its own cap is
// what would refuse them.
bool BenchRushStage::startService(const QString &database, int clients, QString *error)
{
    m_service = std::make_unique<BenchService>();
    m_service->startService(QStringLiteral(RV_SERVICE_EXECUTABLE), database,
                            QStringList{u"--max-connections"_s, QString::number(clients + 256),
                                        u"--idle-timeout"_s, u"300"_s} +
                                m_serviceOptions);
    if (!m_service->waitForPort()) {
        *error = u"rv-service did not start: "_s + m_service->errorText();
        return false;
    }
    m_port = m_service->port();
    m_location = database;
    return true;
}

bool BenchRushStage::startStack(QString *error)
{
    if (!QFile::exists(m_clusterScript)) {
        *error = u"no cluster script at "_s + m_clusterScript;
        return false;
    }
    // The database's own user runs PostgreSQL and PgBouncer in a folder below this one.
    QFile::setPermissions(m_dir.path(), QFile::permissions(m_dir.path()) | QFile::ReadOther |
                                            QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    QProcess script;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"RV_SERVICE_BIN"_s, QStringLiteral(RV_SERVICE_EXECUTABLE));
    const QStringList options =
        QStringList{environment.value(u"RV_CLUSTER_SERVICE_OPTIONS"_s)} + m_serviceOptions;
    environment.insert(u"RV_CLUSTER_SERVICE_OPTIONS"_s, options.join(u' ').trimmed());
    script.setProcessEnvironment(environment);
    script.setProcessChannelMode(QProcess::SeparateChannels);
    m_stackStarted = true; // whatever it started is stopped with the stage
    script.start(u"bash"_s, {m_clusterScript, u"start"_s, m_dir.filePath(u"stack"_s)});
    if (!script.waitForFinished(clusterStartMs) || script.exitCode() != 0) {
        script.kill();
        script.waitForFinished(5'000);
        *error = u"the cluster did not start: "_s +
                 QString::fromUtf8(script.readAllStandardError()).right(500);
        return false;
    }
    static const QRegularExpression front(u"http://127\\.0\\.0\\.1:(\\d+)\\s*$"_s);
    const auto match = front.match(QString::fromUtf8(script.readAllStandardOutput()));
    m_port = match.hasMatch() ? match.captured(1).toUShort() : 0;
    const QString data = m_dir.filePath(u"stack/pg/data/postmaster.pid"_s);
    m_location = u"postgresql://rv@127.0.0.1:%1/rv"_s.arg(firstLine(data, 3));
    if (m_port == 0)
        *error = u"the cluster named no front"_s;
    return m_port != 0;
}

QList<qint64> BenchRushStage::pids() const
{
    QList<qint64> pids;
    if (m_service)
        pids.append(m_service->pid());
    if (m_stackStarted) {
        const QDir stack(m_dir.filePath(u"stack"_s));
        const QStringList files = stack.entryList({u"*.pid"_s}, QDir::Files);
        QList<qint64> stackPids;
        for (const QString &file : files)
            stackPids.append(firstLine(stack.filePath(file)).toLongLong());
        // The PostgreSQL column counts the server, not the idle processes of the stack.
        if (m_kind == Kind::PostgreSQL)
            stackPids = {firstLine(stack.filePath(u"postgresql.pid"_s)).toLongLong()};
        pids += stackPids + childrenOf(stackPids);
    }
    return pids;
}
