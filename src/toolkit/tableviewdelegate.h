// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/indexpath.h"
#include "toolkit/scrollviewdelegate.h"

#include <optional>

namespace ui
{

class TableView;
class View;

// What a table asks and tells about its rows beyond their content. Every operation has a
// default: heights fall back to the table's rowHeight, and a header or footer view is as
// high as its own frame unless a height is given (a negative height means "the view's").
class TableViewDelegate : public ScrollViewDelegate
{
public:
    virtual qreal heightForRowAtIndexPath(TableView *tableView, const IndexPath &indexPath);
    // The row that a tap selects; nothing (std::nullopt) cancels the selection.
    virtual std::optional<IndexPath> willSelectRowAtIndexPath(TableView *,
                                                              const IndexPath &indexPath)
    {
        return indexPath;
    }
    virtual void didSelectRowAtIndexPath(TableView *, const IndexPath &) {}
    virtual void didDeselectRowAtIndexPath(TableView *, const IndexPath &) {}
    // Made for each reload; the table owns what it is given.
    virtual View *viewForHeaderInSection(TableView *, int) { return nullptr; }
    virtual qreal heightForHeaderInSection(TableView *, int) { return -1; }
    virtual View *viewForFooterInSection(TableView *, int) { return nullptr; }
    virtual qreal heightForFooterInSection(TableView *, int) { return -1; }
};

} // namespace ui
