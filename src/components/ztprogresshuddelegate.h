// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/delegaterole.h"

class ZtProgressHUD;

// What an overlay tells when it has hidden. The overlay may outlive the object that asked to
// be told (a tip stays after its screen is gone), so it holds the delegate weakly: a delegate
// that is gone by then is simply not told.
class ZtProgressHUDDelegate : public ui::DelegateRole
{
public:
    // Optional: called on the main thread once the overlay is fully hidden.
    virtual void hudWasHidden(ZtProgressHUD * /*hud*/) {}
};
