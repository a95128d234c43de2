// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvbookingstore.h"

#include "models/rvbookingstorefile.h"
#include "platform/notificationcenter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QMutex>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <atomic>
#include <memory>

using namespace Qt::StringLiterals;

namespace
{
// One operation at a time in this process: two threads never wait on each other's lock
// inside SQLite; another process waits for the busy time-out.
QMutex &storeMutex()
{
    static QMutex mutex;
    return mutex;
}

// Counts the logouts. An operation reads it under the store's lock, so that it either ends
// before the stores are deleted or finds its store ended.
std::atomic<quint64> logouts{0};
// The logouts whose stores are deleted; under the store's lock.
quint64 deletedUpTo = 0;

// Under the store's lock: the stores a logout ended go before anything else is done, also when
// the deletion it asked for has not run yet. Tried once a logout.
bool deleteEnded()
{
    const quint64 ended = logouts;
    if (deletedUpTo == ended)
        return true;
    deletedUpTo = ended;
    bool removed = true;
    const QDir folder(RVBookingStore::directory());
    for (const QString &name : folder.entryList({u"*.sqlite"_s}, QDir::Files))
        removed = RVBookingStoreFile::removeFiles(folder.filePath(name)) && removed;
    return removed;
}

// Write makes the file when there is none; Read and Existing (a write that only changes what
// is there) do not.
enum class Access { Read, Write, Existing };

// Runs the work on a connection of its own; a file found damaged on the way is replaced and
// the work done once more on the new one.
template <class Result, class Work>
Result withFile(const QString &path, const QString &yhid, quint64 session, Access access,
                Result failed, Work &&work)
{
    QMutexLocker lock(&storeMutex());
    if (session != logouts)
        return failed;
    deleteEnded();
    if (access != Access::Write && !QFile::exists(path))
        return failed;
    RVBookingStoreFile file(path, yhid);
    if (!file.isOpen())
        return failed;
    std::optional<Result> result = work(file);
    if (!result && file.damaged() && file.rebuild())
        result = work(file);
    return result.value_or(failed);
}

QString textOf(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QJsonObject objectOf(const QVariant &text)
{
    return QJsonDocument::fromJson(text.toString().toUtf8()).object();
}

std::optional<qlonglong> metaNumber(RVBookingStoreFile &file, const QString &key)
{
    auto query = file.exec(u"SELECT value FROM meta WHERE key = ?"_s, {key});
    if (!query)
        return std::nullopt;
    return query->next() ? query->value(0).toLongLong() : 0;
}

bool setMeta(RVBookingStoreFile &file, const QString &key, const QString &value)
{
    return file
        .exec(u"INSERT INTO meta (key, value) VALUES (?, ?)"
              " ON CONFLICT (key) DO UPDATE SET value = excluded.value"_s,
              {key, value})
        .has_value();
}
// A booking the list no longer holds stays, no longer open: the service does not hold it open,
// and a calendar that had it removes it.
bool closeUnlisted(RVBookingStoreFile &file, qlonglong generation)
{
    auto unlisted = file.exec(u"SELECT key, record FROM bookings WHERE listed < ?"_s, {generation});
    if (!unlisted)
        return false;
    QList<std::pair<QString, QJsonObject>> closed;
    while (unlisted->next()) {
        QJsonObject record = objectOf(unlisted->value(1));
        if (record.contains(u"yyzt"_s) &&
            RVBaseInfo::fromDictionary<RVReservationInfo>(record).isOpen()) {
            record.remove(u"yyzt"_s);
            closed.append({unlisted->value(0).toString(), record});
        }
    }
    for (const auto &[key, record] : closed) {
        if (!file.exec(u"UPDATE bookings SET record = ? WHERE key = ?"_s, {textOf(record), key}))
            return false;
    }
    return true;
}
// Told after the store's lock is let go: an observer may read the store at once.
bool announced(bool changed, const QString &name = RVBookingStore::changedNotificationName())
{
    if (changed)
        platform::NotificationCenter::defaultCenter().postNotificationName(name, nullptr);
    return changed;
}
} // namespace

RVBookingStore::RVBookingStore(QString yhid) : m_yhid(std::move(yhid)), m_session(logouts) {}

QString RVBookingStore::directory()
{
    const QString location = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!QStandardPaths::isTestModeEnabled())
        return location + u"/bookings"_s;
    // Test runs of the same binary share the test location: each process keeps a folder of
    // its own there, removed when it ends.
    static const std::unique_ptr<QTemporaryDir> folder = [&location] {
        QDir().mkpath(location);
        return std::make_unique<QTemporaryDir>(location + u"/bookings-XXXXXX"_s);
    }();
    return folder->path();
}

QString RVBookingStore::filePath() const
{
    // The name tells nothing of the user and cannot leave the folder, whatever the identifier.
    const QByteArray name =
        QCryptographicHash::hash(m_yhid.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return directory() + u'/' + QString::fromLatin1(name) + u".sqlite"_s;
}

QString RVBookingStore::keyOf(const RVReservationInfo &booking)
{
    const QString yylsh = RVBaseInfo::text(booking.yylsh());
    if (!yylsh.isEmpty())
        return yylsh;
    return u"slot:"_s + RVBaseInfo::text(booking.pbid()) + u':' + RVBaseInfo::text(booking.fzxh()) +
           u':' + RVBaseInfo::text(booking.jzrq());
}

QString RVBookingStore::changedNotificationName()
{
    return u"RVBookingStoreDidChangeNotification"_s;
}

bool RVBookingStore::saveList(const Bookings &bookings, const QDateTime &when) const
{
    if (!isValid())
        return false;
    return announced(withFile(
        filePath(), m_yhid, m_session, Access::Write, false,
        [&](RVBookingStoreFile &file) -> std::optional<bool> {
            const bool written = file.write([&] {
                const auto last = metaNumber(file, u"generation"_s);
                if (!last)
                    return false;
                const qlonglong generation = *last + 1;
                for (qsizetype i = 0; i < bookings.size(); ++i) {
                    const RVReservationInfo &b = bookings.at(i);
                    if (!file.exec(u"INSERT INTO bookings (key, record, listed, position)"
                                   " VALUES (?, ?, ?, ?) ON CONFLICT (key) DO UPDATE SET"
                                   " record = excluded.record, listed = excluded.listed,"
                                   " position = excluded.position"_s,
                                   {keyOf(b), textOf(b.body_dict()), generation, qlonglong(i)}))
                        return false;
                }
                return closeUnlisted(file, generation) &&
                       setMeta(file, u"generation"_s, QString::number(generation)) &&
                       setMeta(file, u"refreshed"_s, when.toUTC().toString(Qt::ISODateWithMs));
            });
            return written ? std::optional(true) : std::nullopt;
        }));
}

bool RVBookingStore::markCancelled(const QString &yylsh) const
{
    if (!isValid())
        return false;
    return announced(withFile(filePath(), m_yhid, m_session, Access::Write, false,
                              [&](RVBookingStoreFile &file) -> std::optional<bool> {
                                  const bool written = file.write([&] {
                                      auto found = file.exec(
                                          u"SELECT record FROM bookings WHERE key = ?"_s, {yylsh});
                                      if (!found || !found->next())
                                          return false;
                                      // The service's code for a cancelled booking is its own; the
                                      // next list brings it. Until then the booking is no longer
                                      // open, which is all the client knows.
                                      QJsonObject record = objectOf(found->value(0));
                                      record.remove(u"yyzt"_s);
                                      return file
                                          .exec(u"UPDATE bookings SET record = ? WHERE key = ?"_s,
                                                {textOf(record), yylsh})
                                          .has_value();
                                  });
                                  return written ? std::optional(true) : std::nullopt;
                              }));
}

bool RVBookingStore::saveHospital(const RVHospitalInfo &hospital) const
{
    const QString hospid = RVBaseInfo::text(hospital.hospid());
    if (!isValid() || hospid.isEmpty())
        return false;
    return withFile(
        filePath(), m_yhid, m_session, Access::Write, false,
        [&](RVBookingStoreFile &file) -> std::optional<bool> {
            if (file.exec(
                    u"INSERT INTO hospitals (hospid, record) VALUES (?, ?) ON CONFLICT (hospid)"
                    " DO UPDATE SET record = excluded.record"_s,
                    {hospid, textOf(hospital.body_dict())}))
                return true;
            return std::nullopt;
        });
}

RVBookingStore::Bookings RVBookingStore::bookings() const
{
    if (!isValid())
        return {};
    return withFile(filePath(), m_yhid, m_session, Access::Read, Bookings(),
                    [](RVBookingStoreFile &file) -> std::optional<Bookings> {
                        auto query = file.exec(u"SELECT record FROM bookings"
                                               " ORDER BY listed DESC, position ASC"_s);
                        if (!query)
                            return std::nullopt;
                        Bookings kept;
                        while (query->next())
                            kept.append(RVBaseInfo::fromDictionary<RVReservationInfo>(
                                objectOf(query->value(0))));
                        return kept;
                    });
}

std::optional<RVHospitalInfo> RVBookingStore::hospital(const QString &hospid) const
{
    if (!isValid())
        return std::nullopt;
    using Found = std::optional<RVHospitalInfo>;
    return withFile(
        filePath(), m_yhid, m_session, Access::Read, Found(),
        [&](RVBookingStoreFile &file) -> std::optional<Found> {
            auto query = file.exec(u"SELECT record FROM hospitals WHERE hospid = ?"_s, {hospid});
            if (!query)
                return std::nullopt;
            if (!query->next())
                return Found();
            return Found(RVBaseInfo::fromDictionary<RVHospitalInfo>(objectOf(query->value(0))));
        });
}

std::optional<QDateTime> RVBookingStore::lastRefresh() const
{
    if (!isValid())
        return std::nullopt;
    using Found = std::optional<QDateTime>;
    return withFile(filePath(), m_yhid, m_session, Access::Read, Found(),
                    [](RVBookingStoreFile &file) -> std::optional<Found> {
                        auto query = file.exec(u"SELECT value FROM meta WHERE key = 'refreshed'"_s);
                        if (!query)
                            return std::nullopt;
                        if (!query->next())
                            return Found();
                        const QDateTime when =
                            QDateTime::fromString(query->value(0).toString(), Qt::ISODateWithMs);
                        return when.isValid() ? Found(when.toLocalTime()) : Found();
                    });
}

bool RVBookingStore::remove(const QString &yhid)
{
    if (yhid.isEmpty())
        return true;
    bool removed = false;
    {
        QMutexLocker lock(&storeMutex());
        removed = RVBookingStoreFile::removeFiles(RVBookingStore(yhid).filePath());
    }
    return announced(removed);
}

bool RVBookingStore::removeAll()
{
    endAll();
    return removeEnded();
}

void RVBookingStore::endAll()
{
    ++logouts;
}

bool RVBookingStore::removeEnded()
{
    bool removed = false;
    {
        QMutexLocker lock(&storeMutex());
        removed = deleteEnded();
    }
    return announced(removed);
}

QSet<QString> RVBookingStore::shownReminders() const
{
    if (!isValid())
        return {};
    return withFile(filePath(), m_yhid, m_session, Access::Read, QSet<QString>(),
                    [](RVBookingStoreFile &file) -> std::optional<QSet<QString>> {
                        auto query = file.exec(u"SELECT key FROM reminders"_s);
                        if (!query)
                            return std::nullopt;
                        QSet<QString> keys;
                        while (query->next())
                            keys.insert(query->value(0).toString());
                        return keys;
                    });
}

bool RVBookingStore::markReminderShown(const QString &key, const QDateTime &when) const
{
    if (!isValid() || key.isEmpty())
        return false;
    return withFile(
        filePath(), m_yhid, m_session, Access::Existing, false,
        [&](RVBookingStoreFile &file) -> std::optional<bool> {
            if (file.exec(u"INSERT OR IGNORE INTO reminders (key, shown) VALUES (?, ?)"_s,
                          {key, when.toUTC().toString(Qt::ISODateWithMs)}))
                return true;
            return std::nullopt;
        });
}

QList<RVWatch> RVBookingStore::watches() const
{
    if (!isValid())
        return {};
    return withFile(
        filePath(), m_yhid, m_session, Access::Read, QList<RVWatch>(),
        [](RVBookingStoreFile &file) -> std::optional<QList<RVWatch>> {
            auto query = file.exec(u"SELECT doctor, schedule, created FROM watches"
                                   " ORDER BY created, key"_s);
            if (!query)
                return std::nullopt;
            QList<RVWatch> kept;
            while (query->next())
                kept.append(RVWatch(
                    RVBaseInfo::fromDictionary<RVDoctorInfo>(objectOf(query->value(0))),
                    RVBaseInfo::fromDictionary<RVDoctorScheduleInfo>(objectOf(query->value(1))),
                    QDateTime::fromString(query->value(2).toString(), Qt::ISODateWithMs)));
            return kept;
        });
}

RVWatch::Added RVBookingStore::addWatch(const RVWatch &watch) const
{
    using Added = RVWatch::Added;
    if (!isValid())
        return Added::Failed;
    const Added added = withFile(
        filePath(), m_yhid, m_session, Access::Write, Added::Failed,
        [&](RVBookingStoreFile &file) -> std::optional<Added> {
            Added added = Added::Failed;
            // Counted and written in one transaction, so that two adds cannot pass the bound.
            const bool written = file.write([&] {
                auto found =
                    file.exec(u"SELECT COUNT(*), SUM(key = ?) FROM watches"_s, {watch.key()});
                if (!found || !found->next())
                    return false;
                if (found->value(1).toInt() > 0)
                    added = Added::AlreadyWatched;
                else if (found->value(0).toInt() >= RVWatch::kMaxWatches)
                    added = Added::Full;
                else if (file.exec(u"INSERT INTO watches (key, doctor, schedule, created)"
                                   " VALUES (?, ?, ?, ?)"_s,
                                   {watch.key(), textOf(watch.doctor().body_dict()),
                                    textOf(watch.schedule().body_dict()),
                                    watch.created().toUTC().toString(Qt::ISODateWithMs)}))
                    added = Added::Added;
                return added != Added::Failed;
            });
            return written || !file.damaged() ? std::optional(written ? added : Added::Failed)
                                              : std::nullopt;
        });
    announced(added == Added::Added, RVWatch::changedNotification());
    return added;
}

bool RVBookingStore::removeWatch(const QString &key) const
{
    if (!isValid())
        return false;
    return announced(withFile(filePath(), m_yhid, m_session, Access::Existing, false,
                              [&](RVBookingStoreFile &file) -> std::optional<bool> {
                                  auto removed =
                                      file.exec(u"DELETE FROM watches WHERE key = ?"_s, {key});
                                  if (!removed)
                                      return std::nullopt;
                                  return removed->numRowsAffected() == 1;
                              }),
                     RVWatch::changedNotification());
}
