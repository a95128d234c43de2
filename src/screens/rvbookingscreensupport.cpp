// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/rvbookingscreensupport.h"

#include "toolkit/alertview.h"
#include "toolkit/color.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/view.h"

using namespace Qt::StringLiterals;

void RVBookingScreenSupport::showAlert(const QString &message)
{
    ui::AlertView::initWithTitle(QString(), message, nullptr, u"确定"_s)->show();
}

ui::View *RVBookingScreenSupport::clearFooter()
{
    auto *footer = new ui::View(QRectF(0, 0, 320, 5));
    footer->setBackgroundColor(ui::Color::clearColor());
    return footer;
}

bool RVBookingScreenSupport::isOnTop(const ui::ViewController *screen)
{
    const ui::NavigationController *navigation =
        screen != nullptr ? screen->navigationController() : nullptr;
    return navigation != nullptr && navigation->topViewController() == screen;
}
