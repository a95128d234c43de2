// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvloadoutcome.h"
#include "models/rvuserstore.h"
#include "protocols/rvreservationinfo.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// The logged-in user's bookings as the last load listed them, in the service's order. An
// open booking can be cancelled; a cancel whose answer is lost is settled by the history
// itself, and a cancelled booking leaves the list without a new load. Every list read and
// every cancel done is kept in the user's booking store, which answers when the service
// cannot be reached.
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
    // What the history shows: the service's list, or without the service the bookings kept
    // on the device.
    struct Shown {
        bool httpStats = false;
        QString httpErrorMessage;
        Bookings bookings;
        // The service could not be reached: the bookings are those kept from the last list.
        bool offline = false;
        // When the service last gave the list; none when it never did.
        std::optional<QDateTime> refreshed;

        // Without the service, only a list that was once kept stands for the user's bookings.
        bool usable() const { return httpStats || (offline && refreshed.has_value()); }
    };

    RVBookingHistory() = default;
    explicit RVBookingHistory(Bookings bookings) : m_bookings(std::move(bookings)) {}
    // The bookings shown; kept ones shown offline cannot be cancelled.
    explicit RVBookingHistory(const Shown &shown)
        : m_bookings(shown.bookings), m_offline(shown.offline)
    {
    }

    // The user's bookings ("C002"), kept in the store when they came; for a worker.
    static RVLoadOutcome<Bookings> load(const RVUserStore &user);
    // The list from the service, kept; or the kept one when the service cannot be reached.
    // For a worker.
    static Shown refresh(const RVUserStore &user);
    // What the store holds, at once. For a worker.
    static Shown stored(const RVUserStore &user);
    // Cancels with "C005"; when the answer is lost, the history tells whether it was done. A
    // refusal is final. For a worker.
    static CancelOutcome cancel(const RVUserStore &user, const QString &yylsh);

    const Bookings &bookings() const { return m_bookings; }
    // The list is the one kept on the device, shown while the service cannot be reached.
    bool offline() const { return m_offline; }
    // Only an open booking, and only while the service can be asked to cancel it.
    bool canCancel(int row) const;
    // Removes the booking with that serial number; the row it held, if it was listed.
    [[nodiscard]] std::optional<int> remove(const QString &yylsh);
    // The open booking that holds the same slot of the same half-day as the record.
    std::optional<RVReservationInfo> openBookingOf(const RVReservationInfo &record) const;
    // Whether the booking with that serial number is listed and no longer open.
    bool showsCancelled(const QString &yylsh) const;

private:
    static RVLoadOutcome<Bookings> fetch(const RVUserStore &user, bool *lost);

    Bookings m_bookings;
    bool m_offline = false;
};
