// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/delegaterole.h"

#include <QString>

namespace ui
{

class SearchBar;

// What a search bar asks and tells; every operation has a default.
class SearchBarDelegate : public DelegateRole
{
public:
    virtual bool searchBarShouldBeginEditing(SearchBar *) { return true; }
    virtual void searchBarTextDidBeginEditing(SearchBar *) {}
    virtual bool searchBarShouldEndEditing(SearchBar *) { return true; }
    virtual void searchBarTextDidEndEditing(SearchBar *) {}
    virtual void textDidChange(SearchBar *, const QString &) {}
    virtual void searchBarSearchButtonClicked(SearchBar *) {}
    virtual void searchBarCancelButtonClicked(SearchBar *) {}
};

} // namespace ui
