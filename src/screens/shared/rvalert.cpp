// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/shared/rvalert.h"

#include "screens/shared/rvscreenguard.h"
#include "toolkit/alertview.h"

using namespace Qt::StringLiterals;

ui::AlertView *RVAlert::show(const QString &message)
{
    return show(QString(), message);
}

ui::AlertView *RVAlert::show(const QString &title, const QString &message)
{
    ui::AlertView *alert = ui::AlertView::initWithTitle(title, message, nullptr, u"确定"_s);
    alert->show();
    return alert;
}

ui::AlertView *RVAlert::showIfOnTop(ui::ViewController *screen, const QString &message)
{
    return showIfOnTop(screen, QString(), message);
}

ui::AlertView *RVAlert::showIfOnTop(ui::ViewController *screen, const QString &title,
                                    const QString &message)
{
    if (!RVScreenGuard::isOnTop(screen))
        return nullptr;
    return show(title, message);
}
