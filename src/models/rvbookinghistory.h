// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvloadoutcome.h"
#include "protocols/rvreservationinfo.h"

#include <QList>
#include <QString>

#include <optional>

// The logged-in user's bookings as the last load listed them, in the service's order. An
// open booking can be cancelled; a cancel whose answer is lost is settled by the history
// itself, and a cancelled booking leaves the list without a new load.
class RVBookingHistory final
{
public:
    using Bookings = QList<RVReservationInfo>;
    // What a cancel brings back: the booking it was for, and the service's answer.
    struct CancelOutcome {
        QString yylsh;
        bool ok = false;
        QString message;
    };

    RVBookingHistory() = default;
    explicit RVBookingHistory(Bookings bookings) : m_bookings(std::move(bookings)) {}

    // The user's bookings ("C002"); for a worker.
    static RVLoadOutcome<Bookings> load(const QString &yhid, const QString &sjhm);
    // Cancels with "C005"; when the answer is lost, the history tells whether it was done. A
    // refusal is final. For a worker.
    static CancelOutcome cancel(const QString &yhid, const QString &sjhm, const QString &yylsh);

    const Bookings &bookings() const { return m_bookings; }
    bool canCancel(int row) const;
    // Removes the booking with that serial number; the row it held, if it was listed.
    [[nodiscard]] std::optional<int> remove(const QString &yylsh);
    // Whether an open booking holds the same slot of the same half-day as the record.
    bool holdsOpen(const RVReservationInfo &record) const;
    // Whether the booking with that serial number is listed and no longer open.
    bool showsCancelled(const QString &yylsh) const;

private:
    Bookings m_bookings;
};
