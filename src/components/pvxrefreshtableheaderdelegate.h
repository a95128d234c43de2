// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/delegaterole.h"

#include <QDateTime>

#include <optional>

class PvxRefreshTableHeaderView;

// What the load-more header asks of the list that owns it. The first two are required; the
// last-updated date is optional: the default answer (no value) means the owner does not offer
// one, and the header then leaves its last-updated line empty and stores nothing.
class PvxRefreshTableHeaderDelegate : public ui::DelegateRole
{
public:
    // The user let go past the threshold: the owner starts loading now.
    virtual void pvxRefreshTableHeaderDidTriggerRefresh(PvxRefreshTableHeaderView *view) = 0;
    // Whether the owner is loading at this moment.
    virtual bool pvxRefreshTableHeaderDataSourceIsLoading(PvxRefreshTableHeaderView *view) = 0;
    // When the owner's data was last updated; no value when it keeps no such date.
    virtual std::optional<QDateTime>
    pvxRefreshTableHeaderDataSourceLastUpdated(PvxRefreshTableHeaderView *view)
    {
        Q_UNUSED(view);
        return std::nullopt;
    }
};
