// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/booking/rvalternativesoffer.h"

#include "toolkit/alertview.h"

#include <QCoreApplication>

ui::AlertView *RVAlternativesOffer::show(const QString &heading,
                                         const RVBookingAlternatives::Result &result)
{
    if (result.choices.isEmpty() && result.cutShort)
        return nullptr;
    m_choices = result.choices;
    QStringList buttons;
    for (const Choice &choice : std::as_const(m_choices))
        buttons.append(RVBookingAlternatives::describe(choice));
    const bool none = m_choices.isEmpty();
    const QString message =
        none ? QCoreApplication::translate("RVAlternativesOffer", "暂无其他可约时段")
             : QCoreApplication::translate("RVAlternativesOffer", "以下时段可约：");
    const QString cancel = none ? QCoreApplication::translate("RVAlternativesOffer", "确定")
                                : QCoreApplication::translate("RVAlternativesOffer", "取消");
    m_alert = ui::AlertView::initWithTitle(heading, message, this, cancel, buttons);
    m_alert->show();
    return m_alert;
}

void RVAlternativesOffer::alertViewClickedButtonAtIndex(ui::AlertView *alertView, int buttonIndex)
{
    // Button 0 is the cancel button; the choices follow in their order.
    if (alertView != m_alert || buttonIndex < 1 || buttonIndex > m_choices.size())
        return;
    m_take(m_choices.at(buttonIndex - 1));
}
