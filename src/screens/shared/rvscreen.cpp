// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/shared/rvscreen.h"

#include "screens/shared/rvalert.h"
#include "screens/shared/rvscreenguard.h"
#include "toolkit/barbuttonitem.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/navigationitem.h"

#include <QPointer>

using namespace Qt::StringLiterals;

namespace
{
// Screens apply the convention once they have appeared; the bar shows its back title from the
// first frame of the slide that brings them in.
void showBackTitleFromTheFirstFrame()
{
    ui::NavigationBar::setDefaultBackButtonTitle(u"返回"_s);
}
Q_CONSTRUCTOR_FUNCTION(showBackTitleFromTheFirstFrame)
} // namespace

void RVScreen::viewDidAppear(bool animated)
{
    setNavigationInfo();
    ui::ViewController::viewDidAppear(animated);
}

void RVScreen::setNavigationInfo()
{
    ui::NavigationController *navigation = navigationController();
    if (navigation == nullptr)
        return;
    if (ui::NavigationItem *previous = navigation->navigationBar()->backItem()) {
        previous->setBackBarButtonItem(
            ui::BarButtonItem::initWithTitle(u"返回"_s, ui::BarButtonItemStyle::Bordered));
    }
    if (navigation->childViewControllers().size() > 2) {
        QPointer<RVScreen> guard(this);
        navigationItem()->setRightBarButtonItem(
            ui::BarButtonItem::initWithTitle(u"主页"_s, ui::BarButtonItemStyle::Bordered, [guard] {
                if (guard)
                    guard->gotMainPage();
            }));
    }
}

void RVScreen::gotMainPage()
{
    if (ui::NavigationController *navigation = navigationController())
        navigation->popToRootViewControllerAnimated(true);
}

bool RVScreen::isOnTop() const
{
    return RVScreenGuard::isOnTop(this);
}

bool RVScreen::popIfOnTop()
{
    return RVScreenGuard::popIfOnTop(this);
}

ui::AlertView *RVScreen::alertIfOnTop(const QString &message)
{
    return RVAlert::showIfOnTop(this, message);
}

ui::AlertView *RVScreen::alertIfOnTop(const QString &title, const QString &message)
{
    return RVAlert::showIfOnTop(this, title, message);
}
