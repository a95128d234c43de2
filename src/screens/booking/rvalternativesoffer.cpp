// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/booking/rvalternativesoffer.h"

#include "screens/shared/rvalert.h"

#include <QCoreApplication>

ui::AlertView *RVAlternativesOffer::show(const QString &heading,
                                         const RVBookingAlternatives::Result &result)
{
    if (result.choices.isEmpty() && result.cutShort)
        return nullptr;
    const QList<Choice> choices = result.choices;
    QStringList buttons;
    for (const Choice &choice : choices)
        buttons.append(RVBookingAlternatives::describe(choice));
    const bool none = choices.isEmpty();
    const QString message =
        none ? QCoreApplication::translate("RVAlternativesOffer", "暂无其他可约时段")
             : QCoreApplication::translate("RVAlternativesOffer", "以下时段可约：");
    const QString cancel = none ? QCoreApplication::translate("RVAlternativesOffer", "确定")
                                : QCoreApplication::translate("RVAlternativesOffer", "取消");
    // Button 0 is the cancel button; the choices follow in their order.
    return RVAlert::ask(aliveToken(), heading, message, cancel, buttons,
                        [this, shown = ++m_shown, choices](int buttonIndex) {
                            if (shown == m_shown && buttonIndex >= 1 &&
                                buttonIndex <= choices.size())
                                m_take(choices.at(buttonIndex - 1));
                        });
}
