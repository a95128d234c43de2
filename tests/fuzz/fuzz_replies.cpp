// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
//
// libFuzzer harness for the reply handling: every record type reads the input as a reply
// text, and every value it kept is read back as a number and as display text, the way the
// client and the screens read them. Besides memory errors and undefined behaviour it stops on
// results that break the records' rules: a reply that parses gives a record whose written
// body parses again to the same body.
#include "protocols/rvdepartmentinfo.h"
#include "protocols/rvdepartmentlistreply.h"
#include "protocols/rvdepartmentlistrequest.h"
#include "protocols/rvdoctordayschedulereply.h"
#include "protocols/rvdoctordayschedulerequest.h"
#include "protocols/rvdoctorinfo.h"
#include "protocols/rvdoctorinforequest.h"
#include "protocols/rvdoctorlistreply.h"
#include "protocols/rvdoctorlistrequest.h"
#include "protocols/rvdoctorscheduleinfo.h"
#include "protocols/rvdoctorschedulereply.h"
#include "protocols/rvdoctorschedulerequest.h"
#include "protocols/rvdoctortimeschedule.h"
#include "protocols/rvhospitalinfo.h"
#include "protocols/rvhospitalinforequest.h"
#include "protocols/rvhospitallistreply.h"
#include "protocols/rvhospitallistrequest.h"
#include "protocols/rvpasswordmodificationrequest.h"
#include "protocols/rvplainrecords.h"
#include "protocols/rvremovereservationrequest.h"
#include "protocols/rvreservationinfo.h"
#include "protocols/rvreservationlistinforeply.h"
#include "protocols/rvreservationlistinforequest.h"
#include "protocols/rvuserinfo.h"
#include "protocols/rvuserlogin.h"
#include "protocols/rvuserregister.h"

#include <QJsonDocument>

#include <cstdint>
#include <cstdlib>

namespace
{

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void readValue(const QJsonValue &value)
{
    (void)RVBaseInfo::intValue(value);
    (void)RVBaseInfo::text(value);
    if (value.isArray()) {
        for (const QJsonValue &item : value.toArray())
            readValue(item);
    } else if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.constBegin(); it != object.constEnd(); ++it)
            readValue(it.value());
    }
}

template <class Record> void readAs(const QString &text)
{
    const auto record = RVBaseInfo::fromString<Record>(text);
    if (!record)
        return;
    readValue(record->trdate());
    readValue(record->trtime());
    readValue(record->trcode());
    readValue(record->errorMsg());
    const QJsonObject body = record->body_dict();
    readValue(body);
    // Written out and read back, a record keeps its body.
    const Record again = RVBaseInfo::fromDictionary<Record>(body);
    require(again.body_dict() == body);
    require(!record->toJson().isEmpty());
}

template <class... Records> void readAsEach(const QString &text)
{
    (readAs<Records>(text), ...);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    readAsEach<RVBaseInfo, RVUserInfo, RVUserRegister, RVUserLogin, RVPasswordModificationRequest,
               RVHospitalListRequest, RVHospitalListReply, RVHospitalInfoRequest, RVHospitalInfo,
               RVDepartmentListRequest, RVDepartmentListReply, RVDepartmentInfo,
               RVDoctorListRequest, RVDoctorListReply, RVDoctorInfoRequest, RVDoctorInfo,
               RVDoctorScheduleRequest, RVDoctorScheduleInfo, RVDoctorScheduleReply,
               RVDoctorDayScheduleRequest, RVDoctorTimeSchedule, RVDoctorDayScheduleReply,
               RVReservationInfo, RVReservationListInfoRequest, RVReservationListInfoReply,
               RVRemoveReservationRequest>(text);
    (void)RVBaseInfo::analyzing_head(text);
    (void)RVBaseInfo::analyzing_body(text);
    return 0;
}
