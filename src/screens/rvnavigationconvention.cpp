// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/rvnavigationconvention.h"

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

void RVNavigationConvention::setNavigationInfo(ui::ViewController *screen)
{
    ui::NavigationController *navigation = screen->navigationController();
    if (navigation == nullptr)
        return;
    if (ui::NavigationItem *previous = navigation->navigationBar()->backItem()) {
        previous->setBackBarButtonItem(
            ui::BarButtonItem::initWithTitle(u"返回"_s, ui::BarButtonItemStyle::Bordered));
    }
    if (navigation->childViewControllers().size() > 2) {
        QPointer<ui::ViewController> guard(screen);
        screen->navigationItem()->setRightBarButtonItem(
            ui::BarButtonItem::initWithTitle(u"主页"_s, ui::BarButtonItemStyle::Bordered, [guard] {
                if (guard)
                    gotMainPage(guard);
            }));
    }
}

void RVNavigationConvention::gotMainPage(ui::ViewController *screen)
{
    if (ui::NavigationController *navigation = screen->navigationController())
        navigation->popToRootViewControllerAnimated(true);
}
