// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvbookinghistory.h"

#include "protocols/rvprotocol.h"

#include <algorithm>

RVLoadOutcome<RVBookingHistory::Bookings> RVBookingHistory::fetch(const RVUserStore &user,
                                                                  bool *lost)
{
    RVProtocol protocol;
    Bookings bookings = protocol.reserationHistoryListWithTime(QVariant(), user.yhid(), user.sjhm())
                            .value_or(Bookings());
    *lost = !protocol.lastRepuestStats() && protocol.outcome().answerLost();
    auto outcome = RVLoadOutcome<Bookings>::of(protocol, std::move(bookings));
    if (outcome.httpStats)
        user.data().saveList(outcome.value);
    return outcome;
}

RVLoadOutcome<RVBookingHistory::Bookings> RVBookingHistory::load(const RVUserStore &user)
{
    bool lost = false;
    return fetch(user, &lost);
}

RVBookingHistory::Shown RVBookingHistory::refresh(const RVUserStore &user)
{
    bool lost = false;
    auto outcome = fetch(user, &lost);
    if (lost) {
        Shown shown = stored(user);
        shown.httpErrorMessage = outcome.httpErrorMessage;
        shown.offline = true;
        return shown;
    }
    Shown shown;
    shown.httpStats = outcome.httpStats;
    shown.httpErrorMessage = outcome.httpErrorMessage;
    shown.bookings = std::move(outcome.value);
    if (shown.httpStats)
        shown.refreshed = user.data().lastRefresh();
    return shown;
}

RVBookingHistory::Shown RVBookingHistory::stored(const RVUserStore &user)
{
    const RVBookingStore &store = user.data();
    Shown shown;
    shown.bookings = store.bookings();
    shown.refreshed = store.lastRefresh();
    return shown;
}

RVBookingHistory::CancelOutcome RVBookingHistory::cancel(const RVUserStore &user,
                                                         const QString &yylsh)
{
    RVProtocol protocol;
    CancelOutcome outcome;
    outcome.yylsh = yylsh;
    outcome.ok = protocol.removeReserationWithUserId(user.yhid(), yylsh);
    outcome.message = protocol.lastErrorMsg();
    if (!outcome.ok && protocol.outcome().answerLost()) {
        // No answer (dropped connection, time-out, cut-short reply): the service may have
        // cancelled all the same, and a second swipe would only be refused. Its history is
        // the truth.
        const auto history = load(user);
        outcome.ok = history.httpStats && RVBookingHistory(history.value).showsCancelled(yylsh);
    }
    if (outcome.ok)
        user.data().markCancelled(yylsh);
    return outcome;
}

bool RVBookingHistory::canCancel(int row) const
{
    return !m_offline && row >= 0 && row < m_bookings.size() && m_bookings.at(row).isOpen();
}

std::optional<int> RVBookingHistory::remove(const QString &yylsh)
{
    for (qsizetype row = 0; row < m_bookings.size(); ++row) {
        if (RVBaseInfo::text(m_bookings.at(row).yylsh()) == yylsh) {
            m_bookings.removeAt(row);
            return int(row);
        }
    }
    return std::nullopt;
}

std::optional<RVReservationInfo>
RVBookingHistory::openBookingOf(const RVReservationInfo &record) const
{
    const QString pbid = RVBaseInfo::text(record.pbid());
    const QString fzxh = RVBaseInfo::text(record.fzxh());
    const auto found =
        std::find_if(m_bookings.cbegin(), m_bookings.cend(), [&](const RVReservationInfo &b) {
            return b.isOpen() && RVBaseInfo::text(b.pbid()) == pbid &&
                   RVBaseInfo::text(b.fzxh()) == fzxh;
        });
    return found != m_bookings.cend() ? std::optional(*found) : std::nullopt;
}

bool RVBookingHistory::showsCancelled(const QString &yylsh) const
{
    return std::any_of(m_bookings.cbegin(), m_bookings.cend(), [&](const RVReservationInfo &b) {
        return RVBaseInfo::text(b.yylsh()) == yylsh && !b.isOpen();
    });
}
