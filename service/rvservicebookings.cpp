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

    return inWriteTransaction(m_database, [&](QSqlDatabase &db) -> RVServiceOutcome {
        auto slot = RVServiceDatabase::exec(
            db,
            u"SELECT t.id, s.jlzt, s.kyrs, s.jzrq FROM slots t JOIN schedules s ON s.pbid = t.pbid"
            " WHERE t.pbid = ? AND t.fzxh = ?"_s,
            {pbid, *fzxh});
        if (!slot)
            return RVServiceOutcome::storeFailure();
        if (!slot->next())
            return RVServiceOutcome::refusal(u"该时段不存在"_s);
        const qint64 slotId = slot->value(0).toLongLong();
        if (const QString why = refusalOf(slot->value(1).toInt(), slot->value(2).toInt(),
                                          slot->value(3).toString());
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
            {slotId, textOf(request.yzhm()), QDateTime::currentDateTime().toString(Qt::ISODate),
             caller.yhid},
            &sold);
        if (!insert)
            return sold ? RVServiceOutcome::refusal(u"该时段已被预约，请选择其他时段"_s)
                        : RVServiceOutcome::storeFailure();
        if (!insert->next())
            return RVServiceOutcome::refusal(u"用户不存在"_s);
        const qint64 id = insert->value(0).toLongLong();
        insert->finish(); // a write statement still open would keep SQLite from committing
        const QString yylsh = QDate::currentDate().toString(u"yyyyMMdd"_s) +
                              QString::number(id).rightJustified(8, u'0');
        if (!RVServiceDatabase::exec(db, u"UPDATE bookings SET yylsh = ? WHERE id = ?"_s,
                                     {yylsh, id}))
            return RVServiceOutcome::storeFailure();
        bool ok = false;
        const QJsonObject reply = bookingsOf(db, caller.yhid, id, &ok);
        if (!ok)
            return RVServiceOutcome::storeFailure();
        return RVServiceOutcome::success(u"预约成功"_s, reply);
    });
}

QJsonObject RVServiceBookings::bookingsOf(QSqlDatabase &db, qint64 yhid, qint64 onlyId, bool *ok)
{
    // The display fields come from the catalogue as it stands; the patient's own fields are
    // those of the user record at the time of booking.
    auto query = RVServiceDatabase::exec(
        db,
        u"SELECT b.yylsh, b.yyzt, b.yhid, b.yhid, b.yzhm, b.brxm, b.brxm, b.brxb, b.sfzhm,"
        " b.csny, b.sjhm, b.lxdz, s.pbid, t.fzxh, s.jzrq || ' ' || t.yysj || ':00',"
        " s.jzrq || ' ' || t.yysj || ':00', s.bcbm, d.hospid, h.yymc, d.ysdm, d.ysmc,"
        " k.bzksdm, k.bzksdm, k.bzksmc FROM bookings b JOIN slots t ON t.id = b.slot"
        " JOIN schedules s ON s.pbid = t.pbid JOIN doctors d ON d.ysdm = s.ysdm"
        " JOIN hospitals h ON h.hospid = d.hospid JOIN departments k ON k.deptid = d.deptid"
        " WHERE b.yhid = ? AND (? = 0 OR b.id = ?) ORDER BY b.id DESC"_s,
        {yhid, onlyId, onlyId});
    *ok = query.has_value();
    QJsonArray list;
    while (query && query->next()) {
        QJsonObject row;
        for (int i = 0; i < bookingKeys.size(); ++i)
            if (!query->value(i).isNull())
                row.insert(bookingKeys.at(i), query->value(i).toString());
        list.append(RVBaseInfo::fromDictionary<RVReservationInfo>(row).body_dict());
    }
    return QJsonObject{{u"list"_s, list}};
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
    return inWriteTransaction(m_database, [&](QSqlDatabase &db) -> RVServiceOutcome {
        auto found = RVServiceDatabase::exec(
            db,
            u"SELECT b.id, b.yhid, b.yyzt, t.pbid FROM bookings b JOIN slots t ON t.id = b.slot"
            " WHERE b.yylsh = ?"_s,
            {yylsh});
        if (!found)
            return RVServiceOutcome::storeFailure();
        if (!found->next())
            return RVServiceOutcome::refusal(u"预约记录不存在"_s);
        if (found->value(1).toLongLong() != caller.yhid)
            return RVServiceOutcome::refusal(u"只能取消本人的预约"_s);
        if (found->value(2).toString() != liveStatus())
            return RVServiceOutcome::refusal(u"该预约已取消，不能重复取消"_s);
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
            return RVServiceOutcome::refusal(u"该预约已取消，不能重复取消"_s);
        return RVServiceOutcome::success(u"取消预约成功"_s);
    });
}
