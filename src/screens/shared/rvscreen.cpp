// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/shared/rvscreen.h"

#include "screens/shared/rvalert.h"
#include "screens/shared/rvscreenguard.h"
#include "toolkit/barbuttonitem.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/navigationitem.h"
#include "toolkit/storyboard.h"

#include <QPointer>

using namespace Qt::StringLiterals;

RVScreen::RVScreen()
{
    // Screens apply the convention once they have appeared; the bar shows its back title from
    // the first frame of the slide that brings them in. Set here, in the language installed.
    ui::NavigationBar::setDefaultBackButtonTitle(tr("返回"));
}

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
            ui::BarButtonItem::initWithTitle(tr("返回"), ui::BarButtonItemStyle::Bordered));
    }
    if (navigation->childViewControllers().size() > 2) {
        QPointer<RVScreen> guard(this);
        navigationItem()->setRightBarButtonItem(
            ui::BarButtonItem::initWithTitle(tr("主页"), ui::BarButtonItemStyle::Bordered, [guard] {
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

std::shared_ptr<ui::ViewController> RVScreen::fromStoryboard(const QString &identifier)
{
    return ui::Storyboard::storyboardWithName(u"MainStoryboard"_s)
        ->instantiateViewControllerWithIdentifier(identifier);
}
