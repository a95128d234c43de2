// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvbooking.h"

#include "models/rvbookinghistory.h"
#include "protocols/rvprotocol.h"

using namespace Qt::StringLiterals;

namespace
{
// Copies a field only when its source holds one: an absent source leaves the key out.
void copyField(RVReservationInfo &record, const QString &key, const QJsonValue &value)
{
    if (!value.isUndefined())
        record.setField(key, value);
}
} // namespace

RVBooking::RVBooking(RVUserInfo user, RVDoctorInfo doctor, RVDoctorScheduleInfo schedule,
                     RVDoctorTimeSchedule slot)
    : m_user(std::move(user)), m_doctor(std::move(doctor)), m_schedule(std::move(schedule)),
      m_slot(std::move(slot))
{
}

QString RVBooking::appointmentTime() const
{
    return RVBaseInfo::text(m_schedule.jzrq()) + u' ' + RVBaseInfo::text(m_slot.yysj()) + u":00"_s;
}

QString RVBooking::sexLine(int xb)
{
    if (xb == 1)
        return u"性别：男"_s;
    if (xb == 2)
        return u"性别：女"_s;
    return {};
}

RVReservationInfo RVBooking::record() const
{
    RVReservationInfo record;
    copyField(record, u"yhid"_s, m_user.yhid());
    copyField(record, u"hospid"_s, m_schedule.hospid());
    copyField(record, u"pbid"_s, m_schedule.pbid());
    copyField(record, u"ysdm"_s, m_doctor.ysdm());
    copyField(record, u"brxm"_s, m_user.xm());
    copyField(record, u"sjhm"_s, m_user.sjhm());
    copyField(record, u"sfzhm"_s, m_user.sfzhm());
    copyField(record, u"csny"_s, m_user.csny());
    record.setBrxb(QString::number(m_user.xb()));
    copyField(record, u"fzxh"_s, m_slot.fzxh());
    const QString time = appointmentTime();
    record.setYysj(time);
    copyField(record, u"ksbm"_s, m_doctor.bzksdm());
    copyField(record, u"bcbm"_s, m_schedule.bcbm());
    copyField(record, u"lxdz"_s, m_user.dz());
    record.setJzrq(time);
    record.setYzhm(RVProtocol::reservationCode());
    return record;
}

QStringList RVBooking::summary() const
{
    return {
        u"姓名：%1"_s.arg(RVBaseInfo::text(m_user.xm())),
        u"手机号码：%1"_s.arg(RVBaseInfo::text(m_user.sjhm())),
        sexLine(m_user.xb()),
        u"身份证号：%1"_s.arg(RVBaseInfo::text(m_user.sfzhm())),
        u"预约时间：%1"_s.arg(appointmentTime()),
        u"预约医院：%1"_s.arg(RVBaseInfo::text(m_doctor.yymc())),
        // The doctor's department as the doctor list knew it, not the doctor's title.
        u"预约科室：%1"_s.arg(RVBaseInfo::text(m_doctor.bzksmc())),
        u"预约医生：%1"_s.arg(RVBaseInfo::text(m_doctor.ysmc())),
    };
}

RVBooking::Outcome RVBooking::book() const
{
    const RVReservationInfo booking = record();
    RVProtocol protocol;
    Outcome outcome;
    outcome.ok = protocol.reseration(booking);
    outcome.message = protocol.lastErrorMsg();
    // A refusal is final. Otherwise the history tells the booking's serial number, and keeps
    // the booking on the device; with no answer (time-out, dropped connection, cut-short
    // reply) it also tells whether the booking was made. Never guess, never resend.
    if (!outcome.ok && !protocol.outcome().answerLost())
        return outcome;
    const auto history =
        RVBookingHistory::load(RVBaseInfo::text(m_user.yhid()), RVBaseInfo::text(m_user.sjhm()));
    if (history.httpStats)
        outcome.booking = RVBookingHistory(history.value).openBookingOf(booking);
    if (!outcome.ok && outcome.booking) {
        outcome.ok = true;
        outcome.confirmedByHistory = true;
        outcome.message = u"预约成功"_s;
    }
    return outcome;
}
