// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/delegaterole.h"

namespace ui
{

class ScrollView;

// What a scroll view tells its delegate, in this order for one drag: will begin dragging,
// did scroll (repeatedly), did end dragging (with whether it moves on by itself), and when it
// moved on, did end decelerating. Programmatic animated scrolling ends with did end scrolling
// animation. Every operation has an empty default.
class ScrollViewDelegate : public DelegateRole
{
public:
    virtual void scrollViewDidScroll(ScrollView *) {}
    virtual void scrollViewWillBeginDragging(ScrollView *) {}
    virtual void scrollViewDidEndDragging(ScrollView *, bool /*willDecelerate*/) {}
    virtual void scrollViewWillBeginDecelerating(ScrollView *) {}
    virtual void scrollViewDidEndDecelerating(ScrollView *) {}
    virtual void scrollViewDidEndScrollingAnimation(ScrollView *) {}
};

} // namespace ui
