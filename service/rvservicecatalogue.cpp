// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicecatalogue.h"

#include "protocols/rvdepartmentinfo.h"
#include "protocols/rvdepartmentlistrequest.h"
#include "protocols/rvdoctordayschedulerequest.h"
#include "protocols/rvdoctorinfo.h"
#include "protocols/rvdoctorlistrequest.h"
#include "protocols/rvdoctorscheduleinfo.h"
#include "protocols/rvdoctorschedulerequest.h"
#include "protocols/rvdoctortimeschedule.h"
#include "protocols/rvhospitalinfo.h"
#include "protocols/rvhospitallistrequest.h"
#include "service/rvserviceclock.h"
#include "service/rvservicedatabase.h"
#include "service/rvservicedemodata.h"
#include "service/rvservicelistwriter.h"
#include "service/rvservicevalues.h"

#include <QJsonArray>
#include <QSqlQuery>

#include <functional>
#include <limits>

using namespace Qt::StringLiterals;

namespace
{
const QString queryOk = u"查询成功"_s;

QString textOf(const QJsonValue &value)
{
    return RVServiceValues::text(value);
}

// A present, non-empty text as a bound value; otherwise NULL, which the queries read as
// "no filter".
QVariant filterOf(const QJsonValue &value)
{
    const QString text = textOf(value).trimmed();
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// The columns of the current row under the given keys; NULL columns are left out.
QJsonObject rowObject(const QSqlQuery &query, const QStringList &keys)
{
    QJsonObject object;
    for (int i = 0; i < keys.size(); ++i)
        if (!query.value(i).isNull())
            object.insert(keys.at(i), query.value(i).toString());
    return object;
}

// The rows as a "list" body, written with the keys the records give them (the service's tests
// read every list back through its record).
QByteArray listBody(QSqlQuery &query, const QStringList &keys,
                    const std::function<RVServiceListWriter::Fields(const QSqlQuery &)> &extra = {},
                    const RVServiceListWriter::Fields &beside = {})
{
    RVServiceListWriter writer;
    while (query.next())
        writer.addRow(query, keys, extra ? extra(query) : RVServiceListWriter::Fields());
    return writer.finish(beside);
}

QString likePrefix(const QString &text)
{
    QString escaped = text;
    escaped.replace(u"\\"_s, u"\\\\"_s).replace(u"%"_s, u"\\%"_s).replace(u"_"_s, u"\\_"_s);
    return escaped + u'%';
}

const QStringList doctorKeys{u"ysdm"_s,   u"hospid"_s, u"yymc"_s, u"ysmc"_s, u"ysxb"_s,
                             u"yszc"_s,   u"ysxl"_s,   u"ysjl"_s, u"ysjs"_s, u"scjb"_s,
                             u"bzksdm"_s, u"bzksmc"_s, u"kysl"_s};
// The conditions a doctor list's request names, each a fixed fragment with its bound value, so
// that a list without filters is a plain walk of the display order for either engine's planner
// (a condition that is true for NULL still costs both of them a plan that cannot use an index).
struct DoctorFilters {
    QStringList conditions;
    QVariantList values;
    void add(const QString &condition, const QVariant &value)
    {
        if (value.isNull())
            return;
        conditions.append(condition);
        values.append(value);
    }
    QString where() const
    {
        return conditions.isEmpty() ? QString() : u" WHERE "_s + conditions.join(u" AND "_s);
    }
};

// The doctor columns over a set of doctors "p"; the open places are summed only for the
// rows of the page, after the filters and the page limit have been applied.
QString doctorColumns(const QString &pageQuery)
{
    return u"SELECT p.ysdm, p.hospid, h.yymc, p.ysmc, p.ysxb, p.yszc, p.ysxl, p.ysjl, p.ysjs,"
           " p.scjb, k.bzksdm, k.bzksmc, (SELECT COALESCE(SUM(s.kyrs), 0) FROM schedules s"
           " WHERE s.ysdm = p.ysdm AND s.jlzt = 0 AND s.jzrq BETWEEN ? AND ?) FROM ("_s +
           pageQuery +
           u") p JOIN hospitals h ON h.hospid = p.hospid JOIN departments k ON k.deptid = p.deptid"
           " ORDER BY p.sort"_s;
}
} // namespace

RVServiceCatalogue::RVServiceCatalogue(RVServiceDatabase &database) : m_database(database) {}

QString RVServiceCatalogue::windowStart()
{
    return RVServiceClock::isoDate();
}

QString RVServiceCatalogue::windowEnd()
{
    // From the same day as windowStart(), which keys the kept answers, even at midnight.
    return QDate::fromString(windowStart(), Qt::ISODate)
        .addDays(RVServiceDemoData::scheduleDays - 1)
        .toString(u"yyyy-MM-dd"_s);
}

RVServiceOutcome RVServiceCatalogue::hospitalList(const QJsonObject &body)
{
    const auto request = RVBaseInfo::fromDictionary<RVHospitalListRequest>(body);
    const QVariant name = filterOf(request.yymc());
    auto session = m_database.session();
    auto query = RVServiceDatabase::exec(
        session.db(),
        u"SELECT hospid, yymc, yyjc, yydj, yyjs, yydz, wd, jd, yydh, bz FROM hospitals"
        " WHERE CAST(? AS TEXT) IS NULL OR yymc LIKE ? ESCAPE '\\' OR yyjc LIKE ? ESCAPE '\\' ORDER BY sort"_s,
        {name, QString(u"%"_s + likePrefix(name.toString())),
         QString(u"%"_s + likePrefix(name.toString()))});
    if (!query)
        return RVServiceOutcome::storeFailure();
    return RVServiceOutcome::success(
        queryOk, listBody(*query, {u"hospid"_s, u"yymc"_s, u"yyjc"_s, u"yydj"_s, u"yyjs"_s,
                                   u"yydz"_s, u"wd"_s, u"jd"_s, u"yydh"_s, u"bz"_s}));
}

RVServiceOutcome RVServiceCatalogue::hospitalInfo(const QJsonObject &body)
{
    const auto request = RVBaseInfo::fromDictionary<RVHospitalInfoRequest>(body);
    if (filterOf(request.hospid()).isNull())
        return RVServiceOutcome::missing(u"hospid"_s);
    auto session = m_database.session();
    auto query = RVServiceDatabase::exec(
        session.db(),
        u"SELECT hospid, yymc, yyjc, yydj, yyjs, yydz, wd, jd, yydh, bz FROM hospitals"
        " WHERE hospid = ?"_s,
        {textOf(request.hospid())});
    if (!query)
        return RVServiceOutcome::storeFailure();
    if (!query->next())
        return RVServiceOutcome::refusal(u"医院不存在"_s);
    const QJsonObject row =
        rowObject(*query, {u"hospid"_s, u"yymc"_s, u"yyjc"_s, u"yydj"_s, u"yyjs"_s, u"yydz"_s,
                           u"wd"_s, u"jd"_s, u"yydh"_s, u"bz"_s});
    return RVServiceOutcome::success(queryOk,
                                     RVBaseInfo::fromDictionary<RVHospitalInfo>(row).body_dict());
}

RVServiceOutcome RVServiceCatalogue::departmentList(const QJsonObject &body)
{
    const auto request = RVBaseInfo::fromDictionary<RVDepartmentListRequest>(body);
    const QVariant hospid = filterOf(request.hospid());
    const QString parent =
        filterOf(request.deptid()).isNull() ? u"0"_s : textOf(request.deptid()).trimmed();
    auto session = m_database.session();
    // Classes are shared by all hospitals; a hospital sees those it has departments in.
    // Below a class: the hospital's own departments, or the standard ones without a hospital.
    auto query = RVServiceDatabase::exec(
        session.db(),
        u"SELECT k.deptid, c.bzksmc, k.bzksdm, k.bzksmc, k.ksms, k.hospid, h.yymc, h.yyjc"
        " FROM departments k LEFT JOIN departments c ON c.deptid = k.parent"
        " LEFT JOIN hospitals h ON h.hospid = k.hospid WHERE k.parent = ? AND ("
        " (k.parent = '0' AND (CAST(? AS TEXT) IS NULL OR EXISTS (SELECT 1 FROM departments x"
        "   WHERE x.parent = k.deptid AND x.hospid = ?)))"
        " OR (k.parent <> '0' AND ((CAST(? AS TEXT) IS NULL AND k.hospid IS NULL) OR k.hospid = "
        "?)))"
        " ORDER BY k.sort"_s,
        {parent, hospid, hospid, hospid, hospid});
    if (!query)
        return RVServiceOutcome::storeFailure();
    RVServiceListWriter::Fields beside{{u"deptid"_s, parent}};
    if (!hospid.isNull())
        beside.append({u"hospid"_s, hospid.toString()});
    return RVServiceOutcome::success(queryOk,
                                     listBody(*query,
                                              {u"deptid"_s, u"ksfl"_s, u"bzksdm"_s, u"bzksmc"_s,
                                               u"ksms"_s, u"hospid"_s, u"yymc"_s, u"yyjc"_s},
                                              {}, beside));
}

RVServiceOutcome RVServiceCatalogue::diseaseList()
{
    auto session = m_database.session();
    auto query = RVServiceDatabase::exec(session.db(), u"SELECT DISTINCT scjb FROM doctors"_s);
    if (!query)
        return RVServiceOutcome::storeFailure();
    // Sorted here by code point: the two stores would sort by their own collations.
    QStringList names;
    while (query->next())
        names.append(query->value(0).toString());
    names.sort();
    QJsonArray list;
    for (const QString &name : std::as_const(names))
        list.append(QJsonObject{{u"jbmc"_s, name}});
    return RVServiceOutcome::success(queryOk, QJsonObject{{u"list"_s, list}});
}

RVServiceOutcome RVServiceCatalogue::doctorList(const QJsonObject &body, const QString &photoBase)
{
    const auto request = RVBaseInfo::fromDictionary<RVDoctorListRequest>(body);
    // The page number comes from the network: one that is not a number, or that no list
    // could reach, is refused, so that the offset below stays small and never overflows.
    constexpr qint64 lowest = std::numeric_limits<qint64>::min();
    qint64 page = 1;
    if (!textOf(request.dqym()).trimmed().isEmpty()) {
        const std::optional<qint64> asked =
            RVServiceValues::wholeNumber(request.dqym(), lowest, maxPage);
        if (!asked)
            return RVServiceOutcome::refusal(u"页码无效：dqym"_s);
        page = std::max<qint64>(1, *asked);
    }
    // A page size out of range is clamped, as the client may ask for "all" with a big one.
    const qint64 size =
        RVServiceValues::wholeNumber(request.xssl(), 1, std::numeric_limits<qint64>::max())
            .value_or(defaultPageSize);
    const qint64 rows = std::min<qint64>(size, maxPageSize);
    // The initials are stored in capitals; the search is a prefix in capitals in both stores.
    const QVariant pym = filterOf(request.pym()).isNull()
                             ? QVariant()
                             : QVariant(textOf(request.pym()).trimmed().toUpper());
    QVariant dept, deptClass, deptStandard;
    auto session = m_database.session();
    if (const QVariant deptid = filterOf(request.deptid()); !deptid.isNull()) {
        auto found = RVServiceDatabase::exec(
            session.db(), u"SELECT parent, hospid, bzksdm FROM departments WHERE deptid = ?"_s,
            {deptid});
        if (!found)
            return RVServiceOutcome::storeFailure();
        if (!found->next()) // no such department: no doctors
            return RVServiceOutcome::success(queryOk, QJsonObject{{u"list"_s, QJsonArray()}});
        if (!found->value(1).isNull())
            dept = deptid;
        else if (found->value(0).toString() == u"0"_s)
            deptClass = deptid;
        else
            deptStandard = found->value(2);
    }
    const QVariant hospid = filterOf(request.hospid());
    const QVariant code = filterOf(request.bzksdm());
    DoctorFilters filters;
    filters.add(u"d.hospid = ?"_s, hospid);
    filters.add(u"d.deptid = ?"_s, dept);
    filters.add(u"d.deptid IN (SELECT deptid FROM departments WHERE parent = ?)"_s, deptClass);
    filters.add(u"d.deptid IN (SELECT deptid FROM departments WHERE bzksdm = ?)"_s, deptStandard);
    filters.add(u"d.deptid IN (SELECT deptid FROM departments WHERE bzksdm = ?)"_s, code);
    filters.add(u"d.pym LIKE ? ESCAPE '\\'"_s,
                pym.isNull() ? QVariant() : QVariant(likePrefix(pym.toString())));
    QVariantList values{windowStart(), windowEnd()};
    values += filters.values;
    values << rows << (page - 1) * rows;
    auto query =
        RVServiceDatabase::exec(session.db(),
                                doctorColumns(u"SELECT d.* FROM doctors d"_s + filters.where() +
                                              u" ORDER BY d.sort LIMIT ? OFFSET ?"_s),
                                values);
    if (!query)
        return RVServiceOutcome::storeFailure();
    return RVServiceOutcome::success(
        queryOk, listBody(*query, doctorKeys, [&photoBase](const QSqlQuery &row) {
            return RVServiceListWriter::Fields{
                {u"yszp"_s, photoBase + u"/photos/"_s + row.value(0).toString() + u".png"_s}};
        }));
}

RVServiceOutcome RVServiceCatalogue::doctorInfo(const QJsonObject &body, const QString &photoBase)
{
    const auto request = RVBaseInfo::fromDictionary<RVDoctorInfoRequest>(body);
    const QVariant ysdm = filterOf(request.ysdm());
    if (ysdm.isNull())
        return RVServiceOutcome::missing(u"ysdm"_s);
    const QVariant hospid = filterOf(request.hospid());
    auto session = m_database.session();
    auto query = RVServiceDatabase::exec(
        session.db(),
        doctorColumns(
            u"SELECT * FROM doctors WHERE ysdm = ? AND (CAST(? AS TEXT) IS NULL OR hospid = ?)"_s),
        {windowStart(), windowEnd(), ysdm, hospid, hospid});
    if (!query)
        return RVServiceOutcome::storeFailure();
    if (!query->next())
        return RVServiceOutcome::refusal(u"医生不存在"_s);
    QJsonObject row = rowObject(*query, doctorKeys);
    row.insert(u"yszp"_s, QString(photoBase + u"/photos/"_s + ysdm.toString() + u".png"_s));
    return RVServiceOutcome::success(queryOk,
                                     RVBaseInfo::fromDictionary<RVDoctorInfo>(row).body_dict());
}

RVServiceOutcome RVServiceCatalogue::doctorSchedules(const QJsonObject &body)
{
    const auto request = RVBaseInfo::fromDictionary<RVDoctorScheduleRequest>(body);
    const QVariant ysdm = filterOf(request.ysdm());
    if (ysdm.isNull())
        return RVServiceOutcome::missing(u"ysdm"_s);
    const QVariant hospid = filterOf(request.hospid());
    const QVariant pbid = filterOf(request.pbid());
    auto session = m_database.session();
    auto doctor = RVServiceDatabase::exec(
        session.db(),
        u"SELECT 1 FROM doctors WHERE ysdm = ? AND (CAST(? AS TEXT) IS NULL OR hospid = ?)"_s,
        {ysdm, hospid, hospid});
    if (!doctor)
        return RVServiceOutcome::storeFailure();
    if (!doctor->next())
        return RVServiceOutcome::refusal(u"医生不存在"_s);
    auto query = RVServiceDatabase::exec(
        session.db(),
        u"SELECT s.pbid, s.jzrq, s.bcbm, CASE s.bcbm WHEN 1 THEN '上午' ELSE '下午' END,"
        " s.jlzt, s.kyrs, d.hospid, d.hospid, k.bzksdm, k.bzksmc, d.ysdm, d.ysmc, d.yszc,"
        " d.ghf, '0.00', d.ghf, CASE WHEN d.yszc LIKE '%主任%' THEN '专家门诊' ELSE '普通门诊' END,"
        " '0' FROM schedules s JOIN doctors d ON d.ysdm = s.ysdm"
        " JOIN departments k ON k.deptid = d.deptid"
        " WHERE s.ysdm = ? AND s.jzrq BETWEEN ? AND ? AND (CAST(? AS TEXT) IS NULL OR s.pbid = ?)"
        " ORDER BY s.jzrq, s.bcbm"_s,
        {ysdm, windowStart(), windowEnd(), pbid, pbid});
    if (!query)
        return RVServiceOutcome::storeFailure();
    return RVServiceOutcome::success(
        queryOk,
        listBody(*query, {u"pbid"_s, u"jzrq"_s, u"bcbm"_s, u"bcmc"_s, u"jlzt"_s, u"kyrs"_s,
                          u"hospid"_s, u"yydm"_s, u"bzksdm"_s, u"bzksmc"_s, u"ysdm"_s, u"ysmc"_s,
                          u"yszc"_s, u"ghf"_s, u"zlf"_s, u"ghje"_s, u"pblb"_s, u"etbz"_s}));
}

RVServiceOutcome RVServiceCatalogue::timeSlots(const QJsonObject &body)
{
    const auto request = RVBaseInfo::fromDictionary<RVDoctorDayScheduleRequest>(body);
    const QVariant pbid = filterOf(request.pbid());
    if (pbid.isNull())
        return RVServiceOutcome::missing(u"pbid"_s);
    auto session = m_database.session();
    auto schedule = RVServiceDatabase::exec(
        session.db(), u"SELECT jlzt, kyrs, jzrq FROM schedules WHERE pbid = ?"_s, {pbid});
    if (!schedule)
        return RVServiceOutcome::storeFailure();
    if (!schedule->next())
        return RVServiceOutcome::refusal(u"排班不存在"_s);
    const QJsonObject none{{u"list"_s, QJsonArray()}};
    // A half-day that cannot be booked offers no slots, with the reason as the message.
    if (schedule->value(0).toInt() != 0)
        return RVServiceOutcome::success(u"该医生本时段停诊"_s, none);
    if (schedule->value(1).toInt() <= 0)
        return RVServiceOutcome::success(u"该时段已约满"_s, none);
    if (schedule->value(2).toString() < windowStart())
        return RVServiceOutcome::success(u"该时段已过期"_s, none);
    auto query = RVServiceDatabase::exec(
        session.db(),
        u"SELECT fzxh, yysj FROM slots s WHERE s.pbid = ? AND NOT EXISTS"
        " (SELECT 1 FROM bookings b WHERE b.slot = s.id AND b.yyzt = '0') ORDER BY fzxh"_s,
        {pbid});
    if (!query)
        return RVServiceOutcome::storeFailure();
    return RVServiceOutcome::success(queryOk, listBody(*query, {u"fzxh"_s, u"yysj"_s}));
}

std::optional<QString> RVServiceCatalogue::doctorSex(const QString &ysdm)
{
    auto session = m_database.session();
    auto query =
        RVServiceDatabase::exec(session.db(), u"SELECT ysxb FROM doctors WHERE ysdm = ?"_s, {ysdm});
    if (!query || !query->next())
        return std::nullopt;
    return query->value(0).toString();
}
