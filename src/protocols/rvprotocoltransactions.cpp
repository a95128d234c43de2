// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// The transaction operations of RVProtocol: each stores its code, builds the request record
// with a fresh head, posts it and reads the reply into the records the callers use.
#include "protocols/protocolslog.h"
#include "protocols/rvprotocol.h"

#include "protocols/rvappconfiginfo.h"
#include "protocols/rvdepartmentlistreply.h"
#include "protocols/rvdoctordayschedulereply.h"
#include "protocols/rvdoctordayschedulerequest.h"
#include "protocols/rvdoctorlistreply.h"
#include "protocols/rvdoctorlistrequest.h"
#include "protocols/rvdoctorschedulerequest.h"
#include "protocols/rvhospitallistreply.h"
#include "protocols/rvhospitallistrequest.h"
#include "protocols/rvloginstate.h"
#include "protocols/rvloginvalues.h"
#include "protocols/rvpasswordmodificationrequest.h"
#include "protocols/rvplainrecords.h"
#include "protocols/rvremovereservationrequest.h"
#include "protocols/rvreservationlistinforeply.h"
#include "protocols/rvreservationlistinforequest.h"
#include "protocols/rvuserlogin.h"
#include "protocols/rvuserregister.h"

#include "protocols/rvlogmasking.h"

using namespace Qt::StringLiterals;

QString RVProtocol::reservationCode()
{
    return u"570461"_s;
}

const RVExchangeOutcome &RVProtocol::transact(const QString &code, const QString &requestText,
                                              const QString &accountName, bool async)
{
    m_typeCode = code;
    // Request and reply texts go to the debug log; passwords and the session key never do.
    qCDebug(lcProtocol).noquote() << RVLogMasking::masked(requestText);
    const RVExchangeOutcome &outcome = send(code, accountName, requestText, async);
    if (!async)
        qCDebug(lcProtocol).noquote() << RVLogMasking::masked(outcome.text());
    return outcome;
}

// The new user's own password is saved with the registration, as a login saves the one typed:
// otherwise the next start would log the new name in with the previous user's password.
QString RVProtocol::registeredPassword(const RVUserRegister &request)
{
    return request.mm().isString() ? request.mm().toString() : QString();
}

std::optional<RVUserInfo> RVProtocol::userRegister(const QJsonObject &userDict)
{
    if (userDict.isEmpty())
        return std::nullopt;
    const auto request = RVBaseInfo::fromDictionary<RVUserRegister>(userDict, headBuild(u"A001"_s));
    m_currentPassword = registeredPassword(request);
    m_loginTicket = RVLoginState::beginAttempt();
    return transact(u"A001"_s, request.toJson(), RVBaseInfo::text(request.yhm()), false)
        .reply<RVUserInfo>();
}

void RVProtocol::userRegister_async(const QJsonObject &userDict)
{
    if (userDict.isEmpty())
        return;
    const auto request = RVBaseInfo::fromDictionary<RVUserRegister>(userDict, headBuild(u"A001"_s));
    m_currentPassword = registeredPassword(request);
    m_loginTicket = RVLoginState::beginAttempt();
    transact(u"A001"_s, request.toJson(), RVBaseInfo::text(request.yhm()), true);
}

std::optional<RVUserInfo> RVProtocol::login(const QString &name, const QString &password)
{
    if (name.isNull() || password.isNull())
        return std::nullopt;
    m_currentPassword = password;
    m_loginTicket = RVLoginState::beginAttempt();
    auto request = requestFor<RVUserLogin>(u"A002"_s);
    request.setYhm(name);
    request.setMm(password);
    return transact(u"A002"_s, request.toJson(), name, false).reply<RVUserInfo>();
}

std::optional<RVUserInfo> RVProtocol::renewLogin(const QString &name, const QString &password)
{
    m_renewing = true;
    auto user = login(name, password);
    m_renewing = false;
    return user;
}

void RVProtocol::login_async(const QString &name, const QString &password)
{
    if (name.isNull() || password.isNull())
        return;
    m_currentPassword = password;
    m_loginTicket = RVLoginState::beginAttempt();
    auto request = requestFor<RVUserLogin>(u"A002"_s);
    request.setYhm(name);
    request.setMm(password);
    transact(u"A002"_s, request.toJson(), name, true);
}

void RVProtocol::logout()
{
    RVLoginState::applyLogout();
    transact(u"C003"_s, requestFor<RVUserLogoutRequest>(u"C003"_s).toJson(), QString(), true);
}

std::optional<RVUserInfo> RVProtocol::userInfoModificationWithNewUserInfo(const RVUserInfo &info)
{
    // The user record is the request record: its body goes out as it is.
    const QString text = RVBaseInfo::envelopeText(headBuild(u"C004"_s), info.body_dict());
    return transact(u"C004"_s, text, QString(), false).reply<RVUserInfoModificationReply>();
}

bool RVProtocol::userPasswordModificationWithUserid(const QString &userid,
                                                    const QString &oldPassword,
                                                    const QString &newPassword)
{
    auto request = requestFor<RVPasswordModificationRequest>(u"C006"_s);
    request.setYhid(RVBaseInfo::valueOf(userid));
    request.setYymm(RVBaseInfo::valueOf(oldPassword));
    request.setMm(RVBaseInfo::valueOf(newPassword));
    return transact(u"C006"_s, request.toJson(), QString(), false).succeeded();
}

std::optional<QList<RVHospitalInfo>> RVProtocol::hospitalList(const QString &name)
{
    auto request = requestFor<RVHospitalListRequest>(u"B001"_s);
    request.setYymc(RVBaseInfo::valueOf(name));
    const auto reply =
        transact(u"B001"_s, request.toJson(), {}, false).reply<RVHospitalListReply>();
    if (!reply)
        return std::nullopt;
    return reply->hospitalList();
}

void RVProtocol::hospitalList_async(const QString &name)
{
    auto request = requestFor<RVHospitalListRequest>(u"B001"_s);
    request.setYymc(RVBaseInfo::valueOf(name));
    transact(u"B001"_s, request.toJson(), {}, true);
}

std::optional<RVHospitalInfo> RVProtocol::hospitalInfo(const QString &hospid)
{
    auto request = requestFor<RVHospitalInfoRequest>(u"B002"_s);
    request.setHospid(RVBaseInfo::valueOf(hospid));
    return transact(u"B002"_s, request.toJson(), {}, false).reply<RVHospitalInfoReply>();
}

void RVProtocol::hospitalInfo_async(const QString &hospid)
{
    auto request = requestFor<RVHospitalInfoRequest>(u"B002"_s);
    request.setHospid(RVBaseInfo::valueOf(hospid));
    transact(u"B002"_s, request.toJson(), {}, true);
}

std::optional<QList<RVDepartmentInfo>> RVProtocol::ClassificationDeptmentList(const QString &hospid,
                                                                              const QString &deptid)
{
    m_typeCode = u"B003"_s;
    return DeptmentListCommon(m_typeCode, hospid, deptid);
}

std::optional<QList<RVDepartmentInfo>> RVProtocol::ReservationDepartmentList(const QString &hospid,
                                                                             const QString &deptid)
{
    m_typeCode = u"B004"_s;
    return DeptmentListCommon(m_typeCode, hospid, deptid);
}

std::optional<QList<RVDepartmentInfo>>
RVProtocol::DeptmentListCommon(const QString &code, const QString &hospid, const QString &deptid)
{
    auto request = requestFor<RVDepartmentListRequest>(code);
    request.setHospid(RVBaseInfo::valueOf(hospid));
    request.setDeptid(RVBaseInfo::valueOf(deptid));
    const auto reply = transact(code, request.toJson(), {}, false).reply<RVDepartmentListReply>();
    if (!reply)
        return std::nullopt;
    return reply->deptartments();
}

std::optional<QJsonValue> RVProtocol::diseaseList()
{
    transact(u"B005"_s, requestFor<RVDiseaseListRequest>(u"B005"_s).toJson(), {}, false);
    return std::nullopt;
}

void RVProtocol::diseaseList_async()
{
    transact(u"B005"_s, requestFor<RVDiseaseListRequest>(u"B005"_s).toJson(), {}, true);
}
