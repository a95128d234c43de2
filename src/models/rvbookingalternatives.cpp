// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvbookingalternatives.h"

#include "models/rvschedulegrid.h"
#include "models/rvtimeslots.h"
#include "protocols/rvprotocol.h"

#include <QCoreApplication>
#include <QDate>
#include <QLoggingCategory>
#include <QTime>

#include <algorithm>
#include <cstdlib>
#include <limits>

using namespace Qt::StringLiterals;

namespace
{
Q_LOGGING_CATEGORY(lcAlternatives, "rv.models.alternatives", QtInfoMsg)

using Alternatives = RVBookingAlternatives;

QString textOf(const QJsonValue &value)
{
    return RVBaseInfo::text(value);
}

// Minutes since midnight of a slot's time; a time that cannot be read sorts last.
int minutesOf(const RVDoctorTimeSchedule &slot)
{
    const QTime time = QTime::fromString(textOf(slot.yysj()).trimmed(), u"H:mm"_s);
    return time.isValid() ? time.msecsSinceStartOfDay() / 60000 : std::numeric_limits<int>::max();
}

// Day, then morning before afternoon: the order in which half-days come.
std::pair<QString, long long> whenOf(const RVDoctorScheduleInfo &halfDay)
{
    return {textOf(halfDay.jzrq()), RVBaseInfo::intValue(halfDay.bcbm())};
}

bool isOpen(const RVDoctorScheduleInfo &halfDay)
{
    return RVScheduleGrid::stateOf(halfDay) == RVScheduleGrid::State::Open;
}

// One search: what it found, and what it may still ask.
class Search
{
public:
    Search(const RVDoctorInfo &doctor, const RVDoctorScheduleInfo &halfDay,
           Alternatives::Known known)
        : m_doctor(doctor), m_halfDay(halfDay), m_known(std::move(known))
    {
        const QString own = textOf(doctor.hospid());
        m_hospid = own.isEmpty() ? textOf(halfDay.hospid()) : own;
    }

    void sameHalfDay(const RVDoctorTimeSchedule &lost);
    void nextHalfDays();
    void colleagues();
    Alternatives::Result take() { return std::move(m_result); }

private:
    // Whether more can be found: a choice needs a slot list, so none left ends the search.
    bool over() const
    {
        return m_result.choices.size() >= Alternatives::kMaxChoices || m_result.cutShort ||
               m_otherSlotLists >= Alternatives::kMaxOtherSlotLists;
    }
    // Counts an exchange; a failed one ends the search.
    bool counted(bool ok)
    {
        ++m_result.requests;
        m_result.cutShort = m_result.cutShort || !ok;
        return ok;
    }
    std::optional<RVDoctorTimeSchedule> firstSlotOf(const RVDoctorScheduleInfo &halfDay);
    void offer(const RVDoctorInfo &doctor, const RVDoctorScheduleInfo &halfDay)
    {
        if (auto slot = firstSlotOf(halfDay))
            m_result.choices.append({doctor, halfDay, *slot});
    }

    RVDoctorInfo m_doctor;
    RVDoctorScheduleInfo m_halfDay;
    Alternatives::Known m_known;
    QString m_hospid;
    int m_otherSlotLists = 0;
    Alternatives::Result m_result;
};

void Search::sameHalfDay(const RVDoctorTimeSchedule &lost)
{
    if (!m_known.lostHalfDaySlots) {
        auto loaded = RVTimeSlots::load(textOf(m_halfDay.pbid()));
        if (!counted(loaded.httpStats))
            return;
        m_known.lostHalfDaySlots = std::move(loaded.value);
    }
    QList<RVDoctorTimeSchedule> others;
    for (const RVDoctorTimeSchedule &slot : std::as_const(*m_known.lostHalfDaySlots)) {
        if (textOf(slot.fzxh()) != textOf(lost.fzxh()))
            others.append(slot);
    }
    // Nearest to the lost time first; of two as near, the earlier.
    const long long at = minutesOf(lost);
    const auto distance = [at](const RVDoctorTimeSchedule &slot) {
        const long long minutes = minutesOf(slot);
        return std::pair{std::llabs(minutes - at), minutes};
    };
    std::stable_sort(others.begin(), others.end(),
                     [&](const auto &a, const auto &b) { return distance(a) < distance(b); });
    for (const RVDoctorTimeSchedule &slot : std::as_const(others)) {
        if (m_result.choices.size() >= Alternatives::kMaxChoices)
            return;
        m_result.choices.append({m_doctor, m_halfDay, slot});
    }
}

void Search::nextHalfDays()
{
    if (over())
        return;
    if (!m_known.doctorSchedule) {
        auto loaded = RVScheduleGrid::load(m_hospid, textOf(m_doctor.ysdm()));
        if (!counted(loaded.httpStats))
            return;
        m_known.doctorSchedule = std::move(loaded.value);
    }
    QList<RVDoctorScheduleInfo> later;
    for (const auto &day : std::as_const(*m_known.doctorSchedule)) {
        for (const RVDoctorScheduleInfo &halfDay : day) {
            if (isOpen(halfDay) && whenOf(halfDay) > whenOf(m_halfDay))
                later.append(halfDay);
        }
    }
    std::stable_sort(later.begin(), later.end(),
                     [](const auto &a, const auto &b) { return whenOf(a) < whenOf(b); });
    for (const RVDoctorScheduleInfo &halfDay : std::as_const(later)) {
        if (over())
            return;
        offer(m_doctor, halfDay);
    }
}

void Search::colleagues()
{
    // Without its code the department's doctors cannot be asked for, only every doctor.
    const QString department = textOf(m_doctor.bzksdm());
    if (over() || department.isEmpty())
        return;
    RVProtocol protocol;
    QList<RVDoctorInfo> doctors =
        protocol
            .doctorList(m_hospid, QString(), department, QString(), 1, Alternatives::kColleaguePage)
            .value_or(QList<RVDoctorInfo>());
    if (!counted(protocol.lastRepuestStats()))
        return;
    // A colleague the list shows without an open place has none to offer.
    doctors.removeIf([this](const RVDoctorInfo &doctor) {
        return textOf(doctor.ysdm()) == textOf(m_doctor.ysdm()) ||
               (!doctor.kysl().isUndefined() && RVBaseInfo::intValue(doctor.kysl()) == 0);
    });
    const QString title = textOf(m_doctor.yszc());
    std::stable_partition(doctors.begin(), doctors.end(), [&title](const RVDoctorInfo &doctor) {
        return textOf(doctor.yszc()) == title;
    });
    const QString day = textOf(m_halfDay.jzrq());
    const long long shift = RVBaseInfo::intValue(m_halfDay.bcbm());
    for (const RVDoctorInfo &doctor :
         doctors.first(std::min<qsizetype>(doctors.size(), Alternatives::kMaxColleagueSchedules))) {
        if (over())
            return;
        const QString hospid = textOf(doctor.hospid());
        const auto loaded =
            RVScheduleGrid::load(hospid.isEmpty() ? m_hospid : hospid, textOf(doctor.ysdm()));
        if (!counted(loaded.httpStats))
            return;
        for (const RVDoctorScheduleInfo &halfDay : loaded.value.value(day)) {
            if (RVBaseInfo::intValue(halfDay.bcbm()) == shift && isOpen(halfDay)) {
                offer(doctor, halfDay);
                break;
            }
        }
    }
}

std::optional<RVDoctorTimeSchedule> Search::firstSlotOf(const RVDoctorScheduleInfo &halfDay)
{
    ++m_otherSlotLists;
    const auto loaded = RVTimeSlots::load(textOf(halfDay.pbid()));
    // A half-day whose last place went since its schedule was read offers nothing.
    if (!counted(loaded.httpStats) || loaded.value.isEmpty())
        return std::nullopt;
    return loaded.value.first();
}
} // namespace

RVBookingAlternatives::RVBookingAlternatives(RVDoctorInfo doctor, RVDoctorScheduleInfo halfDay,
                                             std::optional<RVDoctorTimeSchedule> lostSlot,
                                             Known known)
    : m_doctor(std::move(doctor)), m_halfDay(std::move(halfDay)), m_lostSlot(std::move(lostSlot)),
      m_known(std::move(known))
{
}

RVBookingAlternatives::Gone RVBookingAlternatives::goneAfterRefusal(const Choice &refused,
                                                                    Known *read)
{
    const auto slots = RVTimeSlots::load(textOf(refused.schedule.pbid()));
    if (!slots.httpStats)
        return Gone::Nothing;
    if (read)
        read->lostHalfDaySlots = slots.value;
    const QString fzxh = textOf(refused.slot.fzxh());
    if (std::ranges::any_of(slots.value,
                            [&](const auto &slot) { return textOf(slot.fzxh()) == fzxh; }))
        return Gone::Nothing;
    if (!slots.value.isEmpty())
        return Gone::Slot;
    const QString own = textOf(refused.doctor.hospid());
    const QString hospid = own.isEmpty() ? textOf(refused.schedule.hospid()) : own;
    const auto schedules = RVScheduleGrid::load(hospid, textOf(refused.doctor.ysdm()));
    if (read && schedules.httpStats)
        read->doctorSchedule = schedules.value;
    const QString pbid = textOf(refused.schedule.pbid());
    for (const RVDoctorScheduleInfo &halfDay :
         schedules.value.value(textOf(refused.schedule.jzrq()))) {
        if (textOf(halfDay.pbid()) == pbid &&
            RVScheduleGrid::stateOf(halfDay) == RVScheduleGrid::State::FullyBooked)
            return Gone::HalfDay;
    }
    return Gone::Nothing;
}

QString RVBookingAlternatives::describe(const Choice &choice)
{
    const QString jzrq = textOf(choice.schedule.jzrq());
    const QDate date = QDate::fromString(jzrq, u"yyyy-MM-dd"_s);
    const QString day = date.isValid() ? RVScheduleGrid::dayText(date) : jzrq;
    return QCoreApplication::translate("RVBookingAlternatives", "%1 %2 %3 %4")
        .arg(textOf(choice.doctor.ysmc()), day, RVScheduleGrid::shiftText(choice.schedule.bcbm()),
             textOf(choice.slot.yysj()))
        .simplified();
}

RVBookingAlternatives::Result RVBookingAlternatives::search() const
{
    Search search(m_doctor, m_halfDay, m_known);
    if (m_lostSlot)
        search.sameHalfDay(*m_lostSlot);
    search.nextHalfDays();
    search.colleagues();
    Result result = search.take();
    qCInfo(lcAlternatives, "%lld choices in %d requests%s", qlonglong(result.choices.size()),
           result.requests, result.cutShort ? ", cut short by a failed exchange" : "");
    return result;
}
