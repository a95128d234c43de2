// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "benchrushstore.h"

#include "protocols/rvcipher.h"
#include "service/rvpasswordhasher.h"
#include "service/rvservicedatabase.h"

#include <QDate>
#include <QDateTime>

using namespace Qt::StringLiterals;

namespace
{
QString isoDay(int offset)
{
    return QDate::currentDate().addDays(offset).toString(u"yyyy-MM-dd"_s);
}
} // namespace

BenchRushStore::BenchRushStore(const QString &location)
    : m_database(std::make_unique<RVServiceDatabase>(location))
{
}

BenchRushStore::~BenchRushStore() = default;

bool BenchRushStore::prepare(int places, int clients, QString *error)
{
    if (!m_database->open(error))
        return false;
    return pickHalfDays(places, error) && writeAccounts(clients, error);
}

// Whole doctors, each with the bookable half-days of the coming week, until the places are
// there; the last half-day releases only what is still wanted, as a hospital keeping some
// places for its own counter would.
bool BenchRushStore::pickHalfDays(int places, QString *error)
{
    auto session = m_database->session();
    auto query = RVServiceDatabase::exec(
        session.db(),
        u"SELECT s.pbid, s.ysdm, s.bcbm, COUNT(t.id) FROM schedules s"
        " JOIN slots t ON t.pbid = s.pbid WHERE s.jzrq > ? AND s.jzrq <= ? AND s.jlzt = 0"
        " GROUP BY s.pbid, s.ysdm, s.bcbm, s.jzrq ORDER BY s.ysdm, s.jzrq, s.bcbm"_s,
        {isoDay(0), isoDay(7)});
    int wanted = places;
    while (query && query->next() && wanted > 0) {
        const int slots = query->value(3).toInt();
        m_halfDays.append({query->value(0).toString(), query->value(1).toString(),
                           query->value(2).toInt(), std::min(slots, wanted)});
        wanted -= m_halfDays.last().places;
    }
    if (!query || wanted > 0) {
        *error = u"the demo week holds fewer than %1 places"_s.arg(places);
        return false;
    }
    QVariantList pbids;
    for (const HalfDay &half : std::as_const(m_halfDays))
        pbids.append(half.pbid);
    const auto held = m_database->write([&](QSqlDatabase &db) {
        return RVServiceDatabase::exec(
                   db, u"UPDATE schedules SET kyrs = 0 WHERE pbid IN ("_s + pbidList() + u')',
                   pbids)
            .has_value();
    });
    if (held != RVServiceDatabase::Write::Committed)
        *error = u"cannot hold the places back"_s;
    return held == RVServiceDatabase::Write::Committed;
}

bool BenchRushStore::writeAccounts(int clients, QString *error)
{
    // One password for all: each account still has its own login key, which is what every
    // booking is checked and enciphered with.
    const QString hash = RVPasswordHasher::hash(u"rush-pass"_s);
    const QString now = QDateTime::currentDateTime().toString(Qt::ISODate);
    const auto written = m_database->write([&](QSqlDatabase &db) {
        for (int i = 0; i < clients; ++i) {
            const QString key =
                RVCipher::nsdataToHex(RVPasswordHasher::randomBytes(RVCipher::keyBytes));
            if (!RVServiceDatabase::exec(
                    db,
                    u"INSERT INTO users (yhm, password, xm, sfzhm, sjhm, gzmy, created)"
                    " VALUES (?, ?, ?, ?, ?, ?, ?)"_s,
                    {u"rush%1"_s.arg(i, 5, 10, QChar(u'0')), hash, u"压测用户"_s,
                     u"330102199001011234"_s, u"139%1"_s.arg(i, 8, 10, QChar(u'0')), key, now}))
                return false;
        }
        return true;
    });
    auto session = m_database->session();
    auto query = RVServiceDatabase::exec(
        session.db(), u"SELECT yhm, yhid, gzmy FROM users WHERE yhm LIKE 'rush%' ORDER BY yhm"_s);
    while (written == RVServiceDatabase::Write::Committed && query && query->next())
        m_accounts.append(
            {query->value(0).toString(), query->value(1).toString(), query->value(2).toString()});
    if (m_accounts.size() != clients)
        *error = u"cannot write the accounts"_s;
    return m_accounts.size() == clients;
}

QString BenchRushStore::pbidList() const
{
    QStringList marks(m_halfDays.size(), u"?"_s);
    return marks.join(u',');
}

bool BenchRushStore::release()
{
    QVariantList pbids;
    for (const HalfDay &half : std::as_const(m_halfDays))
        pbids.append(half.pbid);
    const HalfDay &last = m_halfDays.last();
    return m_database->write([&](QSqlDatabase &db) {
        return RVServiceDatabase::exec(db,
                                       u"UPDATE schedules SET kyrs = (SELECT COUNT(*) FROM slots t"
                                       " WHERE t.pbid = schedules.pbid) WHERE pbid IN ("_s +
                                           pbidList() + u')',
                                       pbids) &&
               RVServiceDatabase::exec(db, u"UPDATE schedules SET kyrs = ? WHERE pbid = ?"_s,
                                       {last.places, last.pbid});
    }) == RVServiceDatabase::Write::Committed;
}

BenchRushStore::Sold BenchRushStore::sold()
{
    Sold sold;
    QVariantList pbids;
    for (const HalfDay &half : std::as_const(m_halfDays))
        pbids.append(half.pbid);
    auto session = m_database->session();
    auto &db = session.db();
    auto booked =
        RVServiceDatabase::exec(db,
                                u"SELECT COUNT(*) FROM bookings b JOIN slots t ON t.id = b.slot"
                                " WHERE b.yyzt = '0' AND t.pbid IN ("_s +
                                    pbidList() + u')',
                                pbids);
    auto left = RVServiceDatabase::exec(
        db, u"SELECT COALESCE(SUM(kyrs), 0) FROM schedules WHERE pbid IN ("_s + pbidList() + u')',
        pbids);
    auto twice = RVServiceDatabase::exec(
        db, u"SELECT COUNT(*) FROM (SELECT slot FROM bookings WHERE yyzt = '0'"
            " GROUP BY slot HAVING COUNT(*) > 1) twice"_s);
    auto spread = RVServiceDatabase::exec(
        db, u"SELECT n, COUNT(*) FROM (SELECT u.yhid, COUNT(b.id) AS n FROM users u"
            " LEFT JOIN bookings b ON b.yhid = u.yhid AND b.yyzt = '0'"
            " WHERE u.yhm LIKE 'rush%' GROUP BY u.yhid) per GROUP BY n ORDER BY n"_s);
    if (booked && booked->next())
        sold.bookings = booked->value(0).toInt();
    if (left && left->next())
        sold.left = left->value(0).toInt();
    if (twice && twice->next())
        sold.soldTwice = twice->value(0).toInt();
    while (spread && spread->next()) {
        const int n = spread->value(0).toInt();
        if (n >= 0 && n < 1000) {
            sold.perClient.resize(std::max<qsizetype>(sold.perClient.size(), n + 1));
            sold.perClient[n] = spread->value(1).toInt();
        }
    }
    return sold;
}
