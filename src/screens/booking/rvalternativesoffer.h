// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvbookingalternatives.h"
#include "toolkit/alertviewdelegate.h"

#include <QList>
#include <QPointer>

#include <functional>

namespace ui
{
class AlertView;
}

// The nearest open places, offered when the place the patient chose is gone: an alert headed
// by the service's message, one button per choice and "取消", or "暂无其他可约时段" when
// nothing is open. A tap on a choice hands it to the screen that owns the offer, which leads
// to its confirmation; nothing is ever booked from here. Owned by that screen, so a tap after
// the screen went is not heard.
class RVAlternativesOffer final : public ui::AlertViewDelegate
{
public:
    using Choice = RVBookingAlternatives::Choice;
    using Take = std::function<void(const Choice &)>;

    explicit RVAlternativesOffer(Take take) : m_take(std::move(take)) {}

    // Null, showing nothing, when a failed exchange ended the search before it found any:
    // whether anything is open is then unknown, and the service's message is all there is.
    ui::AlertView *show(const QString &heading, const RVBookingAlternatives::Result &result);

    void alertViewClickedButtonAtIndex(ui::AlertView *alertView, int buttonIndex) override;

private:
    Take m_take;
    QList<Choice> m_choices;
    QPointer<ui::AlertView> m_alert;
};
