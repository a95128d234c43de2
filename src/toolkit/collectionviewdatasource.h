// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/delegaterole.h"
#include "toolkit/edgeinsets.h"
#include "toolkit/indexpath.h"
#include "toolkit/scrollviewdelegate.h"

#include <QSizeF>

#include <optional>

namespace ui
{

class CollectionView;
class CollectionViewCell;

// Where a grid gets its items (one section is shown).
class CollectionViewDataSource : public DelegateRole
{
public:
    virtual int numberOfSectionsInCollectionView(CollectionView *) { return 1; }
    virtual int numberOfItemsInSection(CollectionView *collectionView, int section) = 0;
    // Dequeued from the grid or new (the grid takes ownership).
    virtual CollectionViewCell *cellForItemAtIndexPath(CollectionView *collectionView,
                                                       const IndexPath &indexPath) = 0;
};

// What a grid tells about taps, and the flow-layout values a delegate may give instead of
// the layout's own (nothing = the layout's value).
class CollectionViewDelegate : public ScrollViewDelegate
{
public:
    virtual void didSelectItemAtIndexPath(CollectionView *, const IndexPath &) {}
    virtual std::optional<QSizeF> sizeForItemAtIndexPath(CollectionView *, const IndexPath &)
    {
        return std::nullopt;
    }
    virtual std::optional<EdgeInsets> insetForSectionAtIndex(CollectionView *, int)
    {
        return std::nullopt;
    }
    virtual std::optional<qreal> minimumLineSpacingForSectionAtIndex(CollectionView *, int)
    {
        return std::nullopt;
    }
    virtual std::optional<qreal> minimumInteritemSpacingForSectionAtIndex(CollectionView *, int)
    {
        return std::nullopt;
    }
};

} // namespace ui
