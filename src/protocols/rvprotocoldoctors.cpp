// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// The doctor, schedule and booking operations of RVProtocol.
#include "protocols/rvprotocol.h"

#include "protocols/rvdoctordayschedulereply.h"
#include "protocols/rvdoctordayschedulerequest.h"
#include "protocols/rvdoctorlistreply.h"
#include "protocols/rvdoctorlistrequest.h"
#include "protocols/rvdoctorschedulerequest.h"
#include "protocols/rvplainrecords.h"
#include "protocols/rvremovereservationrequest.h"
#include "protocols/rvreservationlistinforeply.h"
#include "protocols/rvreservationlistinforequest.h"

using namespace Qt::StringLiterals;

std::optional<QList<RVDoctorInfo>>
RVProtocol::doctorList(const QString &hospid, const QString &deptid, const QString &stdCode,
                       const QString &doctorName, int page, int num)
{
    auto request = requestFor<RVDoctorListRequest>(u"B006"_s);
    request.setHospid(RVBaseInfo::valueOf(hospid));
    request.setDeptid(RVBaseInfo::valueOf(deptid));
    request.setBzksdm(RVBaseInfo::valueOf(stdCode));
    request.setPym(RVBaseInfo::valueOf(doctorName));
    request.setDqym(page);
    request.setXssl(num);
    const auto reply = transact(u"B006"_s, request.toJson(), {}, false).reply<RVDoctorListReply>();
    if (!reply)
        return std::nullopt;
    return reply->doctors();
}

void RVProtocol::doctorList_async(const QString &hospid, const QString &deptid,
                                  const QString &stdCode, const QString &doctorName, int page,
                                  int num)
{
    auto request = requestFor<RVDoctorListRequest>(u"B006"_s);
    // A department already names its hospital and code; only the filterless form sends them.
    if (deptid.isNull()) {
        request.setHospid(RVBaseInfo::valueOf(hospid));
        request.setBzksdm(RVBaseInfo::valueOf(stdCode));
        request.setPym(RVBaseInfo::valueOf(doctorName));
    } else {
        request.setDeptid(deptid);
    }
    request.setDqym(page);
    request.setXssl(num);
    transact(u"B006"_s, request.toJson(), {}, true);
}

std::optional<RVDoctorInfo> RVProtocol::doctorInfo(const QString &hospid, const QString &doctorId)
{
    auto request = requestFor<RVDoctorInfoRequest>(u"B007"_s);
    request.setHospid(RVBaseInfo::valueOf(hospid));
    request.setYsdm(RVBaseInfo::valueOf(doctorId));
    return transact(u"B007"_s, request.toJson(), {}, false).reply<RVDoctorInfoReply>();
}

void RVProtocol::doctorInfo_async(const QString &hospid, const QString &doctorId)
{
    auto request = requestFor<RVDoctorInfoRequest>(u"B007"_s);
    request.setHospid(RVBaseInfo::valueOf(hospid));
    request.setYsdm(RVBaseInfo::valueOf(doctorId));
    transact(u"B007"_s, request.toJson(), {}, true);
}

std::optional<RVDoctorScheduleReply::Schedules>
RVProtocol::doctorScheduleForHospital(const QString &pbid, const QString &hospid,
                                      const QString &doctorId)
{
    auto request = requestFor<RVDoctorScheduleRequest>(u"B008"_s);
    request.setPbid(RVBaseInfo::valueOf(pbid));
    request.setHospid(RVBaseInfo::valueOf(hospid));
    request.setYsdm(RVBaseInfo::valueOf(doctorId));
    const auto reply =
        transact(u"B008"_s, request.toJson(), {}, false).reply<RVDoctorScheduleReply>();
    if (!reply)
        return std::nullopt;
    return reply->schedules();
}

void RVProtocol::doctorScheduleForHospital_async(const QString &pbid, const QString &hospid,
                                                 const QString &doctorId)
{
    auto request = requestFor<RVDoctorScheduleRequest>(u"B008"_s);
    request.setPbid(RVBaseInfo::valueOf(pbid));
    request.setHospid(RVBaseInfo::valueOf(hospid));
    request.setYsdm(RVBaseInfo::valueOf(doctorId));
    transact(u"B008"_s, request.toJson(), {}, true);
}

std::optional<QList<RVDoctorTimeSchedule>>
RVProtocol::doctorDayScheduleForScheduleId(const QString &pbid)
{
    auto request = requestFor<RVDoctorDayScheduleRequest>(u"B009"_s);
    request.setPbid(RVBaseInfo::valueOf(pbid));
    const auto reply =
        transact(u"B009"_s, request.toJson(), {}, false).reply<RVDoctorDayScheduleReply>();
    if (!reply)
        return std::nullopt;
    return reply->timeSchedule();
}

void RVProtocol::doctorDayScheduleForScheduleId_async(const QString &pbid)
{
    auto request = requestFor<RVDoctorDayScheduleRequest>(u"B009"_s);
    request.setPbid(RVBaseInfo::valueOf(pbid));
    transact(u"B009"_s, request.toJson(), {}, true);
}

bool RVProtocol::reseration(const RVReservationInfo &booking)
{
    // The booking record is the request record: its body goes out as it is.
    const QString text = RVBaseInfo::envelopeText(headBuild(u"C001"_s), booking.body_dict());
    return transact(u"C001"_s, text, {}, false).succeeded();
}

std::optional<QList<RVReservationInfo>>
RVProtocol::reserationHistoryListWithTime(const QVariant &, const QString &usercode,
                                          const QString &phone)
{
    auto request = requestFor<RVReservationListInfoRequest>(u"C002"_s);
    request.setYhid(RVBaseInfo::valueOf(usercode));
    request.setSjhm(RVBaseInfo::valueOf(phone));
    const auto reply =
        transact(u"C002"_s, request.toJson(), {}, false).reply<RVReservationListInfoReply>();
    if (!reply)
        return std::nullopt;
    return reply->reservations();
}

void RVProtocol::reserationHistoryListWithTime_async(const QVariant &, const QString &usercode,
                                                     const QString &phone)
{
    auto request = requestFor<RVReservationListInfoRequest>(u"C002"_s);
    request.setYhid(RVBaseInfo::valueOf(usercode));
    request.setSjhm(RVBaseInfo::valueOf(phone));
    transact(u"C002"_s, request.toJson(), {}, true);
}

bool RVProtocol::removeReserationWithUserId(const QString &userid, const QString &reserationId)
{
    auto request = requestFor<RVRemoveReservationRequest>(u"C005"_s);
    request.setYhid(RVBaseInfo::valueOf(userid));
    request.setYylsh(RVBaseInfo::valueOf(reserationId));
    return transact(u"C005"_s, request.toJson(), {}, false).succeeded();
}
