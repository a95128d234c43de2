// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvbooking.h"

#include "models/rvbookinghistory.h"
#include "models/rvsavedbookings.h"
#include "protocols/rvprotocol.h"

#include <QCoreApplication>

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
    : m_user(std::move(user)), m_store(RVUserStore::of(m_user)), m_doctor(std::move(doctor)),
      m_schedule(std::move(schedule)), m_slot(std::move(slot))
{
}

QString RVBooking::appointmentTime() const
{
    return RVBaseInfo::text(m_schedule.jzrq()) + u' ' + RVBaseInfo::text(m_slot.yysj()) + u":00"_s;
}

QString RVBooking::sexLine(int xb)
{
    if (xb == 1)
        return QCoreApplication::translate("RVBooking", "性别：男");
    if (xb == 2)
        return QCoreApplication::translate("RVBooking", "性别：女");
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
        QCoreApplication::translate("RVBooking", "姓名：%1").arg(RVBaseInfo::text(m_user.xm())),
        QCoreApplication::translate("RVBooking", "手机号码：%1")
            .arg(RVBaseInfo::text(m_user.sjhm())),
        sexLine(m_user.xb()),
        QCoreApplication::translate("RVBooking", "身份证号：%1")
            .arg(RVBaseInfo::text(m_user.sfzhm())),
        QCoreApplication::translate("RVBooking", "预约时间：%1").arg(appointmentTime()),
        QCoreApplication::translate("RVBooking", "预约医院：%1")
            .arg(RVBaseInfo::text(m_doctor.yymc())),
        // The doctor's department as the doctor list knew it, not the doctor's title.
        QCoreApplication::translate("RVBooking", "预约科室：%1")
            .arg(RVBaseInfo::text(m_doctor.bzksmc())),
        QCoreApplication::translate("RVBooking", "预约医生：%1")
            .arg(RVBaseInfo::text(m_doctor.ysmc())),
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
    if (!outcome.ok && !protocol.outcome().answerLost()) {
        lookForOthers(outcome);
        return outcome;
    }
    const auto history = RVBookingHistory::load(m_store);
    if (history.httpStats)
        outcome.booking = RVBookingHistory(history.value).openBookingOf(booking);
    if (!outcome.ok && outcome.booking) {
        outcome.ok = true;
        outcome.confirmedByHistory = true;
        outcome.message = QCoreApplication::translate("RVBooking", "预约成功");
    }
    if (outcome.ok && outcome.booking)
        outcome.calendar = RVSavedBookings::entryOf(m_store, *outcome.booking, true);
    return outcome;
}

void RVBooking::lookForOthers(Outcome &outcome) const
{
    using Gone = RVBookingAlternatives::Gone;
    RVBookingAlternatives::Known read;
    outcome.gone = RVBookingAlternatives::goneAfterRefusal(choice(), &read);
    if (outcome.gone == Gone::Nothing)
        return;
    const auto lost = outcome.gone == Gone::Slot ? std::optional(m_slot) : std::nullopt;
    outcome.alternatives = RVBookingAlternatives(m_doctor, m_schedule, lost, read).search();
}
