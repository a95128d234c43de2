// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvsavedbookings.h"

#include "models/rvbookinghistory.h"
#include "protocols/rvprotocol.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace
{
// The hospital of each booking: asked of the service once a hospital while it answers, kept,
// and otherwise as kept.
RVSavedBookings::Entries withHospitals(const RVBookingStore &store,
                                       const RVBookingHistory::Bookings &bookings, bool online)
{
    QHash<QString, std::optional<RVHospitalInfo>> hospitals;
    RVSavedBookings::Entries entries;
    for (const RVReservationInfo &booking : bookings) {
        const QString hospid = RVBaseInfo::text(booking.hospid());
        if (!hospid.isEmpty() && !hospitals.contains(hospid)) {
            std::optional<RVHospitalInfo> found;
            if (online) {
                RVProtocol protocol;
                found = protocol.hospitalInfo(hospid);
                if (found && protocol.lastRepuestStats())
                    store.saveHospital(*found);
                else
                    found.reset();
            }
            hospitals.insert(hospid, found ? found : store.hospital(hospid));
        }
        entries.append({booking, hospitals.value(hospid)});
    }
    return entries;
}
} // namespace

RVSavedBookings::Outcome RVSavedBookings::fetch(const RVUserStore &user)
{
    const auto shown = RVBookingHistory::refresh(user);
    Outcome outcome;
    outcome.offline = shown.offline;
    outcome.refreshed = shown.refreshed;
    outcome.message = shown.httpErrorMessage;
    outcome.ok = shown.usable();
    if (!outcome.ok)
        return outcome;
    // Everything kept, with the bookings the service stopped listing: a calendar that holds
    // one of those learns that it no longer stands.
    const RVBookingStore &store = user.data();
    const RVBookingHistory::Bookings kept = store.bookings();
    outcome.entries = withHospitals(store, kept.isEmpty() ? shown.bookings : kept, shown.httpStats);
    return outcome;
}

RVSavedBookings::Outcome RVSavedBookings::kept(const RVUserStore &user)
{
    const auto shown = RVBookingHistory::stored(user);
    Outcome outcome;
    outcome.offline = true;
    outcome.refreshed = shown.refreshed;
    outcome.ok = shown.refreshed.has_value();
    if (outcome.ok)
        outcome.entries = withHospitals(user.data(), shown.bookings, false);
    return outcome;
}

RVBookingCalendar::Entry RVSavedBookings::entryOf(const RVUserStore &user,
                                                  const RVReservationInfo &booking, bool online)
{
    return withHospitals(user.data(), {booking}, online).value(0);
}

RVSavedBookings::Entries RVSavedBookings::openOnly(const Entries &entries)
{
    Entries open;
    for (const RVBookingCalendar::Entry &entry : entries) {
        if (entry.booking.isOpen())
            open.append(entry);
    }
    return open;
}
