// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicebookings.h"

#include "protocols/rvremovereservationrequest.h"
#include "protocols/rvreservationinfo.h"
#include "protocols/rvreservationlistinforequest.h"
#include "service/rvservicedatabase.h"
#include "service/rvservicevalues.h"

#include <QDate>
#include <QDateTime>
#include <QJsonArray>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace
{
constexpr qint64 maxSlot = 1'000'000;

QString textOf(const QJsonValue &value)
{
    return RVServiceValues::text(value).trimmed();
}

bool isOtherUser(const QJsonValue &yhid, const RVServiceAccounts::Caller &caller)
{
    return !yhid.isUndefined() && !textOf(yhid).isEmpty() &&
           textOf(yhid) != QString::number(caller.yhid);
}

// Why a half-day refuses a booking, or empty when it takes one.
QString refusalOf(int jlzt, int kyrs, const QString &jzrq)
{
    if (jlzt != 0)
        return u"该医生本时段停诊，无法预约"_s;
    if (kyrs <= 0)
        return u"该时段已约满"_s;
    if (jzrq < QDate::currentDate().toString(u"yyyy-MM-dd"_s))
        return u"该时段已过期，无法预约"_s;
    return {};
}

const QStringList bookingKeys{u"yylsh"_s, u"yyzt"_s,   u"yhid"_s,   u"userid"_s, u"yzhm"_s,
                              u"brxm"_s,  u"xm"_s,     u"brxb"_s,   u"sfzhm"_s,  u"csny"_s,
                              u"sjhm"_s,  u"lxdz"_s,   u"pbid"_s,   u"fzxh"_s,   u"jzrq"_s,
                              u"yysj"_s,  u"bcbm"_s,   u"hospid"_s, u"yymc"_s,   u"ysdm"_s,
                              u"ysmc"_s,  u"bzksdm"_s, u"ksbm"_s,   u"bzksmc"_s};

const QString booked = u"预约成功"_s;
const QString cancelled = u"取消预约成功"_s;
const QString alreadyCancelled = u"该预约已取消，不能重复取消"_s;

RVServiceOutcome slotSold()
{
    return RVServiceOutcome::refusal(u"该时段已被预约，请选择其他时段"_s);
}

// The slot with its half-day's state, by the half-day and the slot's number.
const QString slotQuery =
    u"SELECT t.id, s.jlzt, s.kyrs, s.jzrq FROM slots t JOIN schedules s ON s.pbid = t.pbid"
    " WHERE t.pbid = ? AND t.fzxh = ?"_s;
// A booking by its serial number: its id, owner, state and half-day.
const QString bookingQuery =
    u"SELECT b.id, b.yhid, b.yyzt, t.pbid FROM bookings b JOIN slots t ON t.id = b.slot"
    " WHERE b.yylsh = ?"_s;

// The booking rows of a source of bookings "b" (the table, or the rows just made) as the
// records show them. The display fields come from the catalogue as it stands; the patient's
// own fields are those of the user record at the time of booking.
QString bookingColumns(const QString &source)
{
    return u"SELECT b.yylsh, b.yyzt, b.yhid, b.yhid, b.yzhm, b.brxm, b.brxm, b.brxb, b.sfzhm,"
           " b.csny, b.sjhm, b.lxdz, s.pbid, t.fzxh, s.jzrq || ' ' || t.yysj || ':00',"
           " s.jzrq || ' ' || t.yysj || ':00', s.bcbm, d.hospid, h.yymc, d.ysdm, d.ysmc,"
           " k.bzksdm, k.bzksdm, k.bzksmc FROM "_s +
           source +
           u" b JOIN slots t ON t.id = b.slot JOIN schedules s ON s.pbid = t.pbid"
           " JOIN doctors d ON d.ysdm = s.ysdm JOIN hospitals h ON h.hospid = d.hospid"
           " JOIN departments k ON k.deptid = d.deptid"_s;
}

// The rows of bookingColumns() as a "list" body.
QJsonObject listOf(QSqlQuery &query)
{
    QJsonArray list;
    while (query.next()) {
        QJsonObject row;
        for (int i = 0; i < bookingKeys.size(); ++i)
            if (!query.value(i).isNull())
                row.insert(bookingKeys.at(i), query.value(i).toString());
        list.append(RVBaseInfo::fromDictionary<RVReservationInfo>(row).body_dict());
    }
    return QJsonObject{{u"list"_s, list}};
}

// The refusal of a cancel by what the booking lookup found; no message when it may go on.
RVServiceOutcome cancelRefusal(QSqlQuery &found, const RVServiceAccounts::Caller &caller)
{
    if (!found.next())
        return RVServiceOutcome::refusal(u"预约记录不存在"_s);
    if (found.value(1).toLongLong() != caller.yhid)
        return RVServiceOutcome::refusal(u"只能取消本人的预约"_s);
    if (found.value(2).toString() != RVServiceBookings::liveStatus())
        return RVServiceOutcome::refusal(alreadyCancelled);
    return RVServiceOutcome{};
}

// Runs the work inside one write transaction: committed when the work succeeds, rolled back
// when it refuses or fails, so that no check and no change of one request is ever half done.
template <class Work> RVServiceOutcome inWriteTransaction(RVServiceDatabase &database, Work &&work)
{
    RVServiceOutcome outcome = RVServiceOutcome::storeFailure();
    const auto written = database.write([&](QSqlDatabase &db) {
        outcome = work(db);
        return outcome.ok;
    });
    return written == RVServiceDatabase::Write::Failed ? RVServiceOutcome::storeFailure() : outcome;
}
} // namespace

RVServiceBookings::RVServiceBookings(RVServiceDatabase &database) : m_database(database) {}

RVServiceOutcome RVServiceBookings::book(const RVServiceAccounts::Caller &caller,
                                         const QJsonObject &body)
{
    const auto request = RVBaseInfo::fromDictionary<RVReservationInfo>(body);
    if (isOtherUser(request.yhid(), caller))
        return RVServiceOutcome::refusal(u"只能为本人预约"_s);
    const QString pbid = textOf(request.pbid());
    if (pbid.isEmpty())
        return RVServiceOutcome::missing(u"pbid"_s);
    if (textOf(request.fzxh()).isEmpty())
        return RVServiceOutcome::missing(u"fzxh"_s);
    // Slot numbers are small; anything else names no slot (and never reaches a cast).
    const std::optional<qint64> fzxh = RVServiceValues::wholeNumber(request.fzxh(), 0, maxSlot);
    if (!fzxh)
        return RVServiceOutcome::refusal(u"该时段不存在"_s);

    const QString yzhm = textOf(request.yzhm());
    const bool atOnce = m_database.backend() == RVServiceDatabase::Backend::PostgreSQL;
    return inWriteTransaction(m_database, [&](QSqlDatabase &db) {
        return atOnce ? bookAtOnce(db, caller, pbid, *fzxh, yzhm)
                      : bookStepByStep(db, caller, pbid, *fzxh, yzhm);
    });
}

RVServiceOutcome RVServiceBookings::bookStepByStep(QSqlDatabase &db,
                                                   const RVServiceAccounts::Caller &caller,
                                                   const QString &pbid, qint64 fzxh,
                                                   const QString &yzhm)
{
    auto slot = RVServiceDatabase::exec(db, slotQuery, {pbid, fzxh});
    if (!slot)
        return RVServiceOutcome::storeFailure();
    if (!slot->next())
        return RVServiceOutcome::refusal(u"该时段不存在"_s);
    const qint64 slotId = slot->value(0).toLongLong();
    if (const QString why =
            refusalOf(slot->value(1).toInt(), slot->value(2).toInt(), slot->value(3).toString());
        !why.isEmpty())
        return RVServiceOutcome::refusal(why);
    // The place is taken only while the half-day is held and has one left.
    auto taken = RVServiceDatabase::exec(
        db, u"UPDATE schedules SET kyrs = kyrs - 1 WHERE pbid = ? AND kyrs > 0 AND jlzt = 0"_s,
        {pbid});
    if (!taken)
        return RVServiceOutcome::storeFailure();
    if (taken->numRowsAffected() != 1)
        return RVServiceOutcome::refusal(u"该时段已约满"_s);
    bool sold = false;
    auto insert = RVServiceDatabase::exec(
        db,
        u"INSERT INTO bookings (yhid, slot, yyzt, yzhm, brxm, brxb, sfzhm, csny, sjhm, lxdz,"
        " created) SELECT yhid, CAST(? AS INTEGER), '0', CAST(? AS TEXT), xm,"
        " CAST(xb AS TEXT), sfzhm, csny, sjhm, dz, CAST(? AS TEXT) FROM users WHERE yhid = ?"
        " RETURNING id"_s,
        {slotId, yzhm, QDateTime::currentDateTime().toString(Qt::ISODate), caller.yhid}, &sold);
    if (!insert)
        return sold ? slotSold() : RVServiceOutcome::storeFailure();
    if (!insert->next())
        return RVServiceOutcome::refusal(u"用户不存在"_s);
    const qint64 id = insert->value(0).toLongLong();
    insert->finish(); // a write statement still open would keep SQLite from committing
    const QString yylsh =
        QDate::currentDate().toString(u"yyyyMMdd"_s) + QString::number(id).rightJustified(8, u'0');
    if (!RVServiceDatabase::exec(db, u"UPDATE bookings SET yylsh = ? WHERE id = ?"_s, {yylsh, id}))
        return RVServiceOutcome::storeFailure();
    bool ok = false;
    const QJsonObject reply = bookingsOf(db, caller.yhid, id, &ok);
    if (!ok)
        return RVServiceOutcome::storeFailure();
    return RVServiceOutcome::success(booked, reply);
}

RVServiceOutcome RVServiceBookings::bookAtOnce(QSqlDatabase &db,
                                               const RVServiceAccounts::Caller &caller,
                                               const QString &pbid, qint64 fzxh,
                                               const QString &yzhm)
{
    // The same conditional update and unique index as step by step; the place is taken only
    // when the slot and the user exist, so that nothing is taken without a booking. The new
    // booking's number is drawn first, so that its serial number is written with it.
    static const QString sql =
        u"WITH slot AS (SELECT t.id, t.pbid FROM slots t WHERE t.pbid = ? AND t.fzxh = ?),"
        " taken AS (UPDATE schedules s SET kyrs = s.kyrs - 1 FROM slot"
        "  WHERE s.pbid = slot.pbid AND s.kyrs > 0 AND s.jlzt = 0 AND s.jzrq >= ?"
        "  AND EXISTS (SELECT 1 FROM users WHERE yhid = ?) RETURNING slot.id),"
        " made AS (INSERT INTO bookings (id, yylsh, yhid, slot, yyzt, yzhm, brxm, brxb, sfzhm,"
        "  csny, sjhm, lxdz, created) SELECT n.id, CAST(? AS TEXT) || lpad(CAST(n.id AS TEXT),"
        "  greatest(8, length(CAST(n.id AS TEXT))), '0'), u.yhid, taken.id, '0', CAST(? AS TEXT),"
        "  u.xm, CAST(u.xb AS TEXT), u.sfzhm, u.csny, u.sjhm, u.dz, CAST(? AS TEXT)"
        "  FROM taken JOIN users u ON u.yhid = ?"
        "  CROSS JOIN (SELECT nextval(pg_get_serial_sequence('bookings', 'id')) AS id) n"
        "  RETURNING *) "_s +
        bookingColumns(u"made"_s);
    const QDate today = QDate::currentDate();
    bool sold = false;
    auto made = RVServiceDatabase::exec(
        db, sql,
        {pbid, fzxh, today.toString(u"yyyy-MM-dd"_s), caller.yhid, today.toString(u"yyyyMMdd"_s),
         yzhm, QDateTime::currentDateTime().toString(Qt::ISODate), caller.yhid},
        &sold);
    if (!made)
        return sold ? slotSold() : RVServiceOutcome::storeFailure();
    const QJsonObject reply = listOf(*made);
    if (reply.value(u"list"_s).toArray().isEmpty())
        return bookingRefusal(db, pbid, fzxh, caller.yhid);
    return RVServiceOutcome::success(booked, reply);
}

RVServiceOutcome RVServiceBookings::bookingRefusal(QSqlDatabase &db, const QString &pbid,
                                                   qint64 fzxh, qint64 yhid)
{
    auto slot = RVServiceDatabase::exec(db, slotQuery, {pbid, fzxh});
    if (!slot)
        return RVServiceOutcome::storeFailure();
    if (!slot->next())
        return RVServiceOutcome::refusal(u"该时段不存在"_s);
    if (const QString why =
            refusalOf(slot->value(1).toInt(), slot->value(2).toInt(), slot->value(3).toString());
        !why.isEmpty())
        return RVServiceOutcome::refusal(why);
    auto user = RVServiceDatabase::exec(db, u"SELECT 1 FROM users WHERE yhid = ?"_s, {yhid});
    if (!user)
        return RVServiceOutcome::storeFailure();
    if (!user->next())
        return RVServiceOutcome::refusal(u"用户不存在"_s);
    return RVServiceOutcome::refusal(u"该时段已约满"_s); // taken since the statement ran
}

QJsonObject RVServiceBookings::bookingsOf(QSqlDatabase &db, qint64 yhid, qint64 onlyId, bool *ok)
{
    auto query = RVServiceDatabase::exec(
        db,
        bookingColumns(u"bookings"_s) +
            u" WHERE b.yhid = ? AND (? = 0 OR b.id = ?) ORDER BY b.id DESC"_s,
        {yhid, onlyId, onlyId});
    *ok = query.has_value();
    return query ? listOf(*query) : QJsonObject{{u"list"_s, QJsonArray()}};
}

RVServiceOutcome RVServiceBookings::list(const RVServiceAccounts::Caller &caller,
                                         const QJsonObject &body)
{
    const auto request = RVBaseInfo::fromDictionary<RVReservationListInfoRequest>(body);
    if (isOtherUser(request.yhid(), caller))
        return RVServiceOutcome::refusal(u"只能查询本人的预约"_s);
    auto session = m_database.session();
    bool ok = false;
    const QJsonObject reply = bookingsOf(session.db(), caller.yhid, 0, &ok);
    return ok ? RVServiceOutcome::success(u"查询成功"_s, reply) : RVServiceOutcome::storeFailure();
}

RVServiceOutcome RVServiceBookings::cancel(const RVServiceAccounts::Caller &caller,
                                           const QJsonObject &body)
{
    const auto request = RVBaseInfo::fromDictionary<RVRemoveReservationRequest>(body);
    if (isOtherUser(request.yhid(), caller))
        return RVServiceOutcome::refusal(u"只能取消本人的预约"_s);
    const QString yylsh = textOf(request.yylsh());
    if (yylsh.isEmpty())
        return RVServiceOutcome::missing(u"yylsh"_s);
    const bool atOnce = m_database.backend() == RVServiceDatabase::Backend::PostgreSQL;
    return inWriteTransaction(m_database, [&](QSqlDatabase &db) {
        return atOnce ? cancelAtOnce(db, caller, yylsh) : cancelStepByStep(db, caller, yylsh);
    });
}

RVServiceOutcome RVServiceBookings::cancelStepByStep(QSqlDatabase &db,
                                                     const RVServiceAccounts::Caller &caller,
                                                     const QString &yylsh)
{
    auto found = RVServiceDatabase::exec(db, bookingQuery, {yylsh});
    if (!found)
        return RVServiceOutcome::storeFailure();
    if (const RVServiceOutcome refused = cancelRefusal(*found, caller); !refused.retmsg.isEmpty())
        return refused;
    const qint64 id = found->value(0).toLongLong();
    const QString pbid = found->value(3).toString();
    // The half-day's row first, as a booking takes it: two transactions that lock rows
    // in the same order never wait for each other in a circle.
    if (!RVServiceDatabase::exec(db, u"UPDATE schedules SET kyrs = kyrs + 1 WHERE pbid = ?"_s,
                                 {pbid}))
        return RVServiceOutcome::storeFailure();
    auto marked =
        RVServiceDatabase::exec(db, u"UPDATE bookings SET yyzt = ? WHERE id = ? AND yyzt = ?"_s,
                                {cancelledStatus(), id, liveStatus()});
    if (!marked)
        return RVServiceOutcome::storeFailure();
    if (marked->numRowsAffected() != 1) // cancelled by another request meanwhile
        return RVServiceOutcome::refusal(alreadyCancelled);
    return RVServiceOutcome::success(cancelled);
}

RVServiceOutcome RVServiceBookings::cancelAtOnce(QSqlDatabase &db,
                                                 const RVServiceAccounts::Caller &caller,
                                                 const QString &yylsh)
{
    // The half-day's row is locked before the booking's, as step by step; a cancel that
    // waited for another cancel of the same booking finds it no longer live and changes
    // nothing.
    static const QString sql =
        u"WITH found AS (SELECT b.id, t.pbid FROM bookings b JOIN slots t ON t.id = b.slot"
        "  WHERE b.yylsh = ? AND b.yhid = ? AND b.yyzt = ?),"
        " held AS (SELECT s.pbid FROM schedules s JOIN found f ON f.pbid = s.pbid FOR UPDATE OF s),"
        " marked AS (UPDATE bookings b SET yyzt = ? FROM found f, held h"
        "  WHERE b.id = f.id AND b.yyzt = ? RETURNING h.pbid),"
        " given AS (UPDATE schedules s SET kyrs = s.kyrs + 1 FROM marked m"
        "  WHERE s.pbid = m.pbid RETURNING s.pbid)"
        " SELECT COUNT(*) FROM given"_s;
    auto given = RVServiceDatabase::exec(
        db, sql, {yylsh, caller.yhid, liveStatus(), cancelledStatus(), liveStatus()});
    if (!given || !given->next())
        return RVServiceOutcome::storeFailure();
    if (given->value(0).toLongLong() == 1)
        return RVServiceOutcome::success(cancelled);
    given->finish();
    auto found = RVServiceDatabase::exec(db, bookingQuery, {yylsh});
    if (!found)
        return RVServiceOutcome::storeFailure();
    const RVServiceOutcome refused = cancelRefusal(*found, caller);
    return refused.retmsg.isEmpty() ? RVServiceOutcome::refusal(alreadyCancelled) : refused;
}
