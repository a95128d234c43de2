// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/shared/rvscreenguard.h"

#include "toolkit/navigationcontroller.h"
#include "toolkit/viewcontroller.h"

bool RVScreenGuard::isOnTop(const ui::ViewController *screen)
{
    if (screen == nullptr)
        return false;
    const ui::NavigationController *navigation = screen->navigationController();
    return navigation != nullptr && navigation->topViewController() == screen;
}

bool RVScreenGuard::popIfOnTop(ui::ViewController *screen)
{
    if (!isOnTop(screen))
        return false;
    return screen->navigationController()->popViewControllerAnimated(true) != nullptr;
}
