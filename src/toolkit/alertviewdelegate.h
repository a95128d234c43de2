// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/delegaterole.h"

namespace ui
{

class AlertView;

// What an alert tells when a button is tapped (cancel is index 0 when there is one, then the
// other buttons in order). An alert outlives the screen that showed it, so it holds its
// delegate weakly: a delegate that is gone by the time of the tap is simply not told.
class AlertViewDelegate : public DelegateRole
{
public:
    virtual void alertViewClickedButtonAtIndex(AlertView *, int /*buttonIndex*/) {}
    virtual void alertViewDidDismissWithButtonIndex(AlertView *, int /*buttonIndex*/) {}
};

} // namespace ui
