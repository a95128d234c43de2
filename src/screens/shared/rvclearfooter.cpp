// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/shared/rvclearfooter.h"

#include "toolkit/color.h"
#include "toolkit/view.h"

ui::View *RVClearFooter::make()
{
    auto *footer = new ui::View(QRectF(0, 0, 320, 5));
    footer->setBackgroundColor(ui::Color::clearColor());
    return footer;
}
