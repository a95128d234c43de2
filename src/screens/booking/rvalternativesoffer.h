// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvbookingalternatives.h"
#include "toolkit/delegaterole.h"

#include <functional>

namespace ui
{
class AlertView;
}

// The nearest open places, offered when the place the patient chose is gone: an alert headed
// by the service's message, one button per choice and "取消", or "暂无其他可约时段" when
// nothing is open. A tap on a choice hands it to the screen that owns the offer, which leads
// to its confirmation; nothing is ever booked from here. Owned by that screen, so a tap after
// the screen went is not heard, nor a tap on an offer that a newer one replaced.
class RVAlternativesOffer final : public ui::DelegateRole
{
public:
    using Choice = RVBookingAlternatives::Choice;
    using Take = std::function<void(const Choice &)>;

    explicit RVAlternativesOffer(Take take) : m_take(std::move(take)) {}

    // Null, showing nothing, when a failed exchange ended the search before it found any:
    // whether anything is open is then unknown, and the service's message is all there is.
    ui::AlertView *show(const QString &heading, const RVBookingAlternatives::Result &result);

private:
    Take m_take;
    int m_shown = 0;
};
