// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/collectionviewcell.h"
#include "toolkit/collectionviewdatasource.h"
#include "toolkit/collectionviewflowlayout.h"
#include "toolkit/scrollview.h"

#include <QHash>

#include <functional>
#include <vector>

namespace ui
{

class FocusRing;

// A grid of items over a scroll view, placed by a flow layout. The grids of this application
// are small, so every item has its cell; cells go back to a pool by reuse identifier on each
// reload and are dequeued from there (or made by the factory registered for the identifier).
// By keyboard the grid is one stop of the Tab chain (the controls inside its entries are
// reached through it): the arrow keys move a current entry, ringed, and Space or Return press
// it as a tap does.
class CollectionView : public ScrollView
{
    Q_OBJECT

public:
    using CellFactory = std::function<CollectionViewCell *()>;

    explicit CollectionView(const QRectF &frame = {},
                            const CollectionViewFlowLayout &layout = CollectionViewFlowLayout(),
                            QWidget *parent = nullptr);

    CollectionViewDataSource *dataSource() const { return m_dataSource.get(); }
    // Held weakly, like the delegate: one that is gone reads as none. Setting
    // either loads the items when control returns to the event loop.
    void setDataSource(CollectionViewDataSource *dataSource);
    CollectionViewDelegate *delegate() const { return m_delegate.get(); }
    void setDelegate(CollectionViewDelegate *delegate);
    CollectionViewFlowLayout &collectionViewLayout() { return m_layout; }
    void setCollectionViewLayout(const CollectionViewFlowLayout &layout);

    void registerCellFactory(const QString &identifier, CellFactory factory);
    template <typename Cell> void registerClass(const QString &identifier)
    {
        registerCellFactory(identifier, [identifier] { return new Cell(identifier); });
    }
    // A pooled cell, else one made by the registered factory, else a plain cell.
    CollectionViewCell *dequeueReusableCellWithReuseIdentifier(const QString &identifier,
                                                               const IndexPath &indexPath);

    void reloadData();
    int numberOfItemsInSection(int section) const { return section == 0 ? int(m_cells.size()) : 0; }
    CollectionViewCell *cellForItemAtIndexPath(const IndexPath &indexPath) const;
    QList<CollectionViewCell *> visibleCells() const;
    std::optional<IndexPath> indexPathForItemAtPoint(const QPointF &point) const;
    // What a tap on the item does: selects it and tells the delegate.
    void selectItemAtIndexPath(const IndexPath &indexPath);

    // The entry the keyboard is on, if any.
    std::optional<IndexPath> keyboardIndexPath() const;
    bool canBecomeFocused() const override;
    QAccessible::Role accessibilityRole() const override { return QAccessible::List; }
    QWidget *accessibilityFocusedElement() const override;

protected:
    void handleTap(const QPointF &point) override;
    void layoutSubviews() override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void layoutItems();
    void moveKeyboardItem(int item);
    void placeFocusRing();
    // The entry above or below `item` in the grid's lines: the nearest to it across.
    int itemInNextLine(int item, bool down) const;
    CollectionViewFlowLayout effectiveLayout();

    CollectionViewFlowLayout m_layout;
    WeakDelegate<CollectionViewDataSource> m_dataSource;
    WeakDelegate<CollectionViewDelegate> m_delegate;
    std::vector<CollectionViewCell *> m_cells;
    QList<QRectF> m_frames;
    QHash<QString, QList<CollectionViewCell *>> m_pool;
    QHash<QString, CellFactory> m_factories;
    FocusRing *m_focusRing = nullptr;
    std::optional<int> m_keyboardItem;
    bool m_loaded = false;
};

} // namespace ui
