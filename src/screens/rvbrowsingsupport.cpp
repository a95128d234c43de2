// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/rvbrowsingsupport.h"

#include "toolkit/alertview.h"
#include "toolkit/color.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/view.h"

using namespace Qt::StringLiterals;

void RVBrowsingSupport::showAlert(const QString &message)
{
    ui::AlertView::initWithTitle(QString(), message, nullptr, u"确定"_s)->show();
}

bool RVBrowsingSupport::isOnTop(const ui::ViewController *screen)
{
    const ui::NavigationController *navigation = screen->navigationController();
    return navigation != nullptr && navigation->topViewController() == screen;
}

ui::View *RVBrowsingSupport::clearFooter()
{
    auto *footer = new ui::View(QRectF(0, 0, 320, 5));
    footer->setBackgroundColor(ui::Color::clearColor());
    return footer;
}
