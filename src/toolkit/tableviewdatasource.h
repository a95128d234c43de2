// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/delegaterole.h"
#include "toolkit/indexpath.h"

namespace ui
{

class TableView;
class TableViewCell;

enum class TableViewCellEditingStyle { None = 0, Delete = 1, Insert = 2 };

// Where a table gets its rows. The table has one section; numberOfSectionsInTableView is
// asked for the phone's sake but only section 0 is shown.
class TableViewDataSource : public DelegateRole
{
public:
    virtual int numberOfSectionsInTableView(TableView *) { return 1; }
    virtual int numberOfRowsInSection(TableView *tableView, int section) = 0;
    // The cell for a row: dequeued from the table or new (the table takes ownership).
    virtual TableViewCell *cellForRowAtIndexPath(TableView *tableView,
                                                 const IndexPath &indexPath) = 0;
    // Rows for which this is true offer swipe-to-delete.
    virtual bool canEditRowAtIndexPath(TableView *, const IndexPath &) { return false; }
    virtual void commitEditingStyle(TableView *, TableViewCellEditingStyle, const IndexPath &) {}
};

} // namespace ui
