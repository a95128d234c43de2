// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/delegaterole.h"

#include <QString>

class RVMarkupLabel;

// What a markup label tells its delegate. The default does nothing, so a delegate overrides
// only what it cares about.
class RVMarkupLabelDelegate : public ui::DelegateRole
{
public:
    // A link was tapped (touch up inside its area); url is the link's "href".
    virtual void markupLabel(RVMarkupLabel *label, const QString &url)
    {
        Q_UNUSED(label);
        Q_UNUSED(url);
    }
};
