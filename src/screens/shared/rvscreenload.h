// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "components/rvprogress.h"
#include "models/rvloadoutcome.h"
#include "screens/shared/rvalert.h"

#include <QString>

#include <utility>

// The load most list screens make: fetch on a worker behind "加载中" (or the given text),
// copy the outcome into the screen on the main thread, then reload the table on success or
// alert the client's message on failure (only while the screen is still on top; a screen the
// user left only keeps the copy).
//
//     RVScreenLoad::load(this, u"加载中"_s,
//         [] { RVProtocol client;
//              auto list = client.hospitalList(QString());
//              return RVLoadOutcome<QList<RVHospitalInfo>>::of(client, list); },
//         [](RVHospitalListViewController &self, const auto &outcome) {
//              self.hospitalList = outcome.value; self.httpStats = outcome.httpStats; },
//         [](RVHospitalListViewController &self) { self.tableView()->reloadData(); });
namespace RVScreenLoad
{
template <class Screen, class Fetch, class Assign, class Reload>
std::shared_ptr<RVProgress> load(Screen *screen, const QString &text, Fetch fetch, Assign assign,
                                 Reload reload)
{
    return RVProgress::run(
        screen, text, std::move(fetch),
        [assign = std::move(assign), reload = std::move(reload)](Screen &self, auto outcome) {
            assign(self, std::as_const(outcome));
            if (outcome.httpStats)
                reload(self);
            else
                RVAlert::showIfOnTop(&self, outcome.httpErrorMessage);
        });
}
} // namespace RVScreenLoad
