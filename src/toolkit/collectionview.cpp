// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/collectionview.h"

#include "toolkit/toolkitlog.h"

namespace ui
{

CollectionView::CollectionView(const QRectF &frame, const CollectionViewFlowLayout &layout,
                               QWidget *parent)
    : ScrollView(frame, parent), m_layout(layout)
{
    setAlwaysBounceVertical(true);
    setFocusPolicy(Qt::TabFocus);
}

void CollectionView::setDataSource(CollectionViewDataSource *dataSource)
{
    m_dataSource = dataSource;
    m_loaded = false;
    setNeedsLayout();
}

void CollectionView::setDelegate(CollectionViewDelegate *delegate)
{
    m_delegate = delegate;
    ScrollView::setDelegate(delegate);
    m_loaded = false;
    setNeedsLayout();
}

void CollectionView::setCollectionViewLayout(const CollectionViewFlowLayout &layout)
{
    m_layout = layout;
    layoutItems();
}

void CollectionView::registerCellFactory(const QString &identifier, CellFactory factory)
{
    m_factories.insert(identifier, std::move(factory));
}

CollectionViewCell *
CollectionView::dequeueReusableCellWithReuseIdentifier(const QString &identifier,
                                                       const IndexPath &indexPath)
{
    auto pool = m_pool.find(identifier);
    if (pool != m_pool.end() && !pool->isEmpty()) {
        CollectionViewCell *cell = pool->takeLast();
        cell->prepareForReuse();
        return cell;
    }
    const auto factory = m_factories.constFind(identifier);
    if (factory != m_factories.constEnd()) {
        if (CollectionViewCell *cell = (*factory)())
            return cell;
    }
    qCWarning(lcToolkit) << "no cell class registered for" << identifier << "at" << indexPath
                         << "- using a plain cell";
    return new CollectionViewCell(identifier);
}

void CollectionView::reloadData()
{
    m_loaded = true;
    for (CollectionViewCell *cell : m_cells) {
        cell->QWidget::hide();
        if (cell->reuseIdentifier().isEmpty())
            cell->removeFromSuperview();
        else
            m_pool[cell->reuseIdentifier()].append(cell);
    }
    m_cells.clear();
    m_keyboardItem.reset();
    const int count = m_dataSource ? std::max(0, m_dataSource->numberOfItemsInSection(this, 0)) : 0;
    for (int item = 0; item < count; ++item) {
        CollectionViewCell *cell = m_dataSource->cellForItemAtIndexPath(this, {0, item});
        if (!cell) {
            qCWarning(lcToolkit) << "the data source gave no cell for item" << item;
            cell = new CollectionViewCell;
        }
        auto pool = m_pool.find(cell->reuseIdentifier());
        if (pool != m_pool.end())
            pool->removeAll(cell);
        m_cells.push_back(cell);
    }
    layoutItems();
}

CollectionViewFlowLayout CollectionView::effectiveLayout()
{
    CollectionViewFlowLayout layout = m_layout;
    if (!m_delegate)
        return layout;
    if (const auto size = m_delegate->sizeForItemAtIndexPath(this, {0, 0}))
        layout.setItemSize(*size);
    if (const auto inset = m_delegate->insetForSectionAtIndex(this, 0))
        layout.setSectionInset(*inset);
    if (const auto line = m_delegate->minimumLineSpacingForSectionAtIndex(this, 0))
        layout.setMinimumLineSpacing(*line);
    if (const auto inter = m_delegate->minimumInteritemSpacingForSectionAtIndex(this, 0))
        layout.setMinimumInteritemSpacing(*inter);
    return layout;
}

void CollectionView::layoutItems()
{
    const auto result = effectiveLayout().layout(int(m_cells.size()), width());
    m_frames = result.frames;
    for (size_t i = 0; i < m_cells.size(); ++i) {
        CollectionViewCell *cell = m_cells[i];
        if (cell->parentWidget() != contentView())
            addSubview(cell);
        cell->setFrame(m_frames.at(qsizetype(i)));
        if (!cell->isHidden())
            cell->QWidget::show();
    }
    setContentSize(result.contentSize);
    placeFocusRing();
}

CollectionViewCell *CollectionView::cellForItemAtIndexPath(const IndexPath &indexPath) const
{
    if (indexPath.section != 0 || indexPath.row < 0 || indexPath.row >= int(m_cells.size()))
        return nullptr;
    return m_cells[size_t(indexPath.row)];
}

QList<CollectionViewCell *> CollectionView::visibleCells() const
{
    return QList<CollectionViewCell *>(m_cells.begin(), m_cells.end());
}

std::optional<IndexPath> CollectionView::indexPathForItemAtPoint(const QPointF &point) const
{
    for (qsizetype i = 0; i < m_frames.size(); ++i) {
        if (m_frames.at(i).contains(point))
            return IndexPath{0, int(i)};
    }
    return std::nullopt;
}

void CollectionView::selectItemAtIndexPath(const IndexPath &indexPath)
{
    CollectionViewCell *cell = cellForItemAtIndexPath(indexPath);
    if (!cell)
        return;
    for (CollectionViewCell *other : m_cells)
        other->setSelected(other == cell);
    if (m_delegate)
        m_delegate->didSelectItemAtIndexPath(this, indexPath);
}

void CollectionView::handleTap(const QPointF &point)
{
    if (const auto path = indexPathForItemAtPoint(point))
        selectItemAtIndexPath(*path);
}

void CollectionView::layoutSubviews()
{
    if (!m_loaded)
        reloadData();
}

void CollectionView::resizeEvent(QResizeEvent *event)
{
    ScrollView::resizeEvent(event);
    layoutItems();
}

} // namespace ui
