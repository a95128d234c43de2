// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/tableview.h"

#include "toolkit/button.h"
#include "toolkit/color.h"
#include "toolkit/focusring.h"
#include "toolkit/font.h"
#include "toolkit/label.h"
#include "toolkit/toolkitlog.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace ui
{

qreal TableViewDelegate::heightForRowAtIndexPath(TableView *tableView, const IndexPath &)
{
    return tableView->rowHeight();
}

TableView::TableView(const QRectF &frame, TableViewStyle style, QWidget *parent)
    : ScrollView(frame, parent), m_style(style), m_separatorColor(Color::colorWithWhite(0.88))
{
    setBackgroundColor(style == TableViewStyle::Grouped ? Color::groupTableViewBackgroundColor()
                                                        : Color::whiteColor());
    setAlwaysBounceVertical(true);
    setShowsHorizontalScrollIndicator(false);
    setFocusPolicy(Qt::TabFocus);
    m_deleteButton =
        new Button(ButtonType::Custom, QRectF(0, 0, kDeleteButtonWidth, kDeleteButtonHeight));
    m_deleteButton->setBackgroundColor(Color::colorWithRed(0.8, 0.1, 0.1));
    m_deleteButton->layer().setCornerRadius(5);
    m_deleteButton->setTitle(QCoreApplication::translate("ui::TableView", "删除"));
    m_deleteButton->titleLabel()->setFont(Font::boldSystemFontOfSize(15));
    m_deleteButton->setHidden(true);
    m_deleteButton->addTarget([this] { confirmDelete(); }, ControlEvent::TouchUpInside);
    addSubview(m_deleteButton);
}

TableView::~TableView()
{
    m_dataSource.reset();
    m_delegate.reset();
    ScrollView::setDelegate(nullptr);
}

void TableView::setDataSource(TableViewDataSource *dataSource)
{
    m_dataSource = dataSource;
    m_loaded = false;
    setNeedsLayout();
}

void TableView::setDelegate(TableViewDelegate *delegate)
{
    m_delegate = delegate;
    ScrollView::setDelegate(delegate);
    m_loaded = false;
    setNeedsLayout();
}

void TableView::setSeparatorStyle(TableViewCellSeparatorStyle style)
{
    m_separatorStyle = style;
    layoutVisibleRows();
}

void TableView::setSeparatorColor(const QColor &color)
{
    m_separatorColor = color;
    layoutVisibleRows();
}

void TableView::setBackgroundView(View *view)
{
    if (m_backgroundView == view)
        return;
    if (m_backgroundView)
        m_backgroundView->removeFromSuperview();
    m_backgroundView = view;
    if (!view)
        return;
    // Behind the moving content and fixed to the table.
    view->setParent(this);
    view->setFrame(bounds());
    view->stackUnder(contentView());
    if (!view->isHidden())
        view->show();
}

void TableView::setTableHeaderView(View *view)
{
    if (m_tableHeaderView == view)
        return;
    if (m_tableHeaderView)
        m_tableHeaderView->removeFromSuperview();
    m_tableHeaderView = view;
    if (view)
        addSubview(view);
    layoutTable();
}

void TableView::setTableFooterView(View *view)
{
    if (m_tableFooterView == view)
        return;
    if (m_tableFooterView)
        m_tableFooterView->removeFromSuperview();
    m_tableFooterView = view;
    if (view)
        addSubview(view);
    layoutTable();
}

void TableView::registerCellFactory(const QString &identifier, CellFactory factory)
{
    m_factories.insert(identifier, std::move(factory));
}

TableViewCell *TableView::dequeueReusableCellWithIdentifier(const QString &identifier)
{
    auto it = m_pool.find(identifier);
    if (it == m_pool.end() || it->isEmpty())
        return nullptr;
    TableViewCell *cell = it->takeLast();
    cell->prepareForReuse();
    return cell;
}

TableViewCell *TableView::dequeueReusableCellWithIdentifier(const QString &identifier,
                                                            const IndexPath &indexPath)
{
    if (TableViewCell *cell = dequeueReusableCellWithIdentifier(identifier))
        return cell;
    TableViewCell *cell = nullptr;
    const auto factory = m_factories.constFind(identifier);
    if (factory != m_factories.constEnd())
        cell = (*factory)();
    if (!cell) {
        qCWarning(lcToolkit) << "no cell class registered for" << identifier << "at" << indexPath
                             << "- using a default cell";
        cell = new TableViewCell(TableViewCellStyle::Default, identifier);
    }
    return cell;
}

void TableView::reloadData()
{
    cancelSwipeToDelete();
    setHighlightedRow(std::nullopt);
    for (const auto &[row, cell] : m_visible)
        enqueueCell(cell);
    m_visible.clear();
    m_selectedRow.reset();
    m_loaded = true;
    recomputeRows();
    // The keyboard stays where it was in a list that grew (a further page), within the rows.
    if (m_keyboardRow && *m_keyboardRow >= m_rowCount)
        m_keyboardRow = m_rowCount > 0 ? std::optional<int>(m_rowCount - 1) : std::nullopt;
    replaceSectionViews();
    layoutTable();
}

void TableView::recomputeRows()
{
    m_rowCount = m_dataSource ? std::max(0, m_dataSource->numberOfRowsInSection(this, 0)) : 0;
    m_rowOffsets.assign(size_t(m_rowCount) + 1, 0);
    for (int row = 0; row < m_rowCount; ++row) {
        qreal h = m_delegate ? m_delegate->heightForRowAtIndexPath(this, {0, row}) : m_rowHeight;
        m_rowOffsets[size_t(row) + 1] = m_rowOffsets[size_t(row)] + std::max(0.0, h);
    }
}

void TableView::replaceSectionViews()
{
    for (QPointer<View> *slot : {&m_sectionHeaderView, &m_sectionFooterView}) {
        if (*slot)
            (*slot)->removeFromSuperview();
        *slot = nullptr;
    }
    m_sectionHeaderHeight = m_sectionFooterHeight = 0;
    if (!m_delegate)
        return;
    m_sectionHeaderView = m_delegate->viewForHeaderInSection(this, 0);
    const qreal headerH = m_delegate->heightForHeaderInSection(this, 0);
    if (m_sectionHeaderView)
        addSubview(m_sectionHeaderView);
    m_sectionHeaderHeight = headerH >= 0          ? headerH
                            : m_sectionHeaderView ? m_sectionHeaderView->frame().height()
                                                  : 0;
    m_sectionFooterView = m_delegate->viewForFooterInSection(this, 0);
    const qreal footerH = m_delegate->heightForFooterInSection(this, 0);
    if (m_sectionFooterView)
        addSubview(m_sectionFooterView);
    m_sectionFooterHeight = footerH >= 0          ? footerH
                            : m_sectionFooterView ? m_sectionFooterView->frame().height()
                                                  : 0;
}

void TableView::layoutTable()
{
    const qreal w = width();
    qreal y = 0;
    if (m_tableHeaderView) {
        const qreal h = m_tableHeaderView->frame().height();
        m_tableHeaderView->setFrame(QRectF(0, 0, w, h));
        y += h;
    }
    const qreal sectionTop = y;
    y += m_sectionHeaderHeight;
    m_rowsTop = y;
    y += m_rowOffsets.back();
    if (m_sectionFooterView)
        m_sectionFooterView->setFrame(QRectF(0, y, w, m_sectionFooterHeight));
    y += m_sectionFooterHeight;
    if (m_tableFooterView) {
        const qreal h = m_tableFooterView->frame().height();
        m_tableFooterView->setFrame(QRectF(0, y, w, h));
        y += h;
    }
    if (m_sectionHeaderView) {
        // The section header stays in sight at the top while its rows scroll under it.
        const qreal pinned = std::clamp(
            contentOffset().y(), sectionTop,
            std::max(sectionTop, m_rowsTop + m_rowOffsets.back() - m_sectionHeaderHeight));
        m_sectionHeaderView->setFrame(QRectF(0, pinned, w, m_sectionHeaderHeight));
        m_sectionHeaderView->raise();
    }
    setContentSize(QSizeF(w, y));
    if (m_backgroundView)
        m_backgroundView->setFrame(bounds());
    if (!isDragging() && !isDecelerating()) {
        // Fewer rows than before: do not leave the viewport past the end of the content.
        const QPointF max = maximumContentOffset();
        if (contentOffset().y() > max.y())
            setContentOffset(QPointF(contentOffset().x(), max.y()));
    }
    layoutVisibleRows();
    placeFocusRing();
}

qreal TableView::rowHeightAt(int row) const
{
    return m_rowOffsets[size_t(row) + 1] - m_rowOffsets[size_t(row)];
}

void TableView::layoutVisibleRows()
{
    if (m_inLayout)
        return;
    m_inLayout = true;
    const qreal top = contentOffset().y() - m_rowsTop;
    const qreal bottom = top + height();
    const auto begin = m_rowOffsets.cbegin();
    // Rows from the first whose bottom lies below the viewport's top to the last whose top
    // lies above its bottom.
    const int firstRow = int(std::upper_bound(begin + 1, m_rowOffsets.cend(), top) - (begin + 1));
    const int endRow =
        std::min(m_rowCount, int(std::lower_bound(begin, m_rowOffsets.cend() - 1, bottom) - begin));
    for (auto it = m_visible.begin(); it != m_visible.end();) {
        if (it->first < firstRow || it->first >= endRow) {
            enqueueCell(it->second);
            it = m_visible.erase(it);
        } else {
            ++it;
        }
    }
    for (int row = std::max(0, firstRow); row < endRow; ++row) {
        const auto it = m_visible.find(row);
        const bool fresh = it == m_visible.end();
        TableViewCell *cell = fresh ? makeCellForRow(row) : it->second;
        m_visible[row] = cell;
        placeCell(row, cell);
        if (fresh)
            cell->lower();
    }
    m_inLayout = false;
}

TableViewCell *TableView::makeCellForRow(int row)
{
    TableViewCell *cell =
        m_dataSource ? m_dataSource->cellForRowAtIndexPath(this, {0, row}) : nullptr;
    if (!cell) {
        qCWarning(lcToolkit) << "the data source gave no cell for row" << row;
        cell = new TableViewCell;
    }
    // A pooled cell handed back without being dequeued leaves the pool too.
    auto pool = m_pool.find(cell->reuseIdentifier());
    if (pool != m_pool.end())
        pool->removeAll(cell);
    return cell;
}

void TableView::placeCell(int row, TableViewCell *cell)
{
    if (cell->parentWidget() != contentView())
        addSubview(cell);
    cell->setFrame(QRectF(0, rowTop(row), width(), rowHeightAt(row)));
    cell->setSeparator(m_separatorStyle != TableViewCellSeparatorStyle::None, m_separatorColor);
    const bool selected = m_selectedRow == row;
    if (cell->isSelected() != selected)
        cell->setSelected(selected);
    const bool highlighted = m_highlightedRow == row;
    if (cell->isHighlighted() != highlighted)
        cell->setHighlighted(highlighted);
    if (!cell->isHidden())
        cell->QWidget::show();
}

void TableView::enqueueCell(TableViewCell *cell)
{
    cell->QWidget::hide();
    if (cell->isHighlighted())
        cell->setHighlighted(false);
    if (cell->reuseIdentifier().isEmpty()) {
        // Nobody can ask for it again: release it.
        cell->removeFromSuperview();
        return;
    }
    QList<TableViewCell *> &pool = m_pool[cell->reuseIdentifier()];
    if (!pool.contains(cell))
        pool.append(cell);
}

void TableView::deleteRowsAtIndexPaths(const QList<IndexPath> &indexPaths, TableViewRowAnimation)
{
    std::vector<int> rows;
    for (const IndexPath &path : indexPaths) {
        if (path.section == 0 && path.row >= 0 && path.row < m_rowCount)
            rows.push_back(path.row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    const int now = m_dataSource ? std::max(0, m_dataSource->numberOfRowsInSection(this, 0)) : 0;
    if (rows.size() != size_t(indexPaths.size()) || now != m_rowCount - int(rows.size())) {
        qCWarning(lcToolkit) << "deleting" << indexPaths.size() << "of" << m_rowCount
                             << "rows leaves the data source with" << now << "- reloading";
        reloadData();
        return;
    }
    cancelSwipeToDelete();
    setHighlightedRow(std::nullopt);
    auto shifted = [&rows](int row) -> std::optional<int> {
        const auto at = std::lower_bound(rows.begin(), rows.end(), row);
        if (at != rows.end() && *at == row)
            return std::nullopt;
        return row - int(at - rows.begin());
    };
    std::map<int, TableViewCell *> moved;
    for (const auto &[row, cell] : m_visible) {
        if (const auto to = shifted(row))
            moved[*to] = cell;
        else
            enqueueCell(cell);
    }
    m_visible = std::move(moved);
    if (m_selectedRow)
        m_selectedRow = shifted(*m_selectedRow);
    recomputeRows();
    if (m_keyboardRow) {
        // A deleted current row hands the keyboard to the row that took its place.
        const int row = shifted(*m_keyboardRow).value_or(std::min(*m_keyboardRow, m_rowCount - 1));
        m_keyboardRow = row >= 0 ? std::optional<int>(row) : std::nullopt;
    }
    layoutTable();
}

TableViewCell *TableView::cellForRowAtIndexPath(const IndexPath &indexPath) const
{
    if (indexPath.section != 0)
        return nullptr;
    const auto it = m_visible.find(indexPath.row);
    return it == m_visible.end() ? nullptr : it->second;
}

QList<TableViewCell *> TableView::visibleCells() const
{
    QList<TableViewCell *> cells;
    for (const auto &[row, cell] : m_visible)
        cells.append(cell);
    return cells;
}

QList<IndexPath> TableView::indexPathsForVisibleRows() const
{
    QList<IndexPath> paths;
    for (const auto &[row, cell] : m_visible)
        paths.append({0, row});
    return paths;
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell *cell) const
{
    for (const auto &[row, shown] : m_visible) {
        if (shown == cell)
            return IndexPath{0, row};
    }
    return std::nullopt;
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(const QPointF &point) const
{
    const qreal y = point.y() - m_rowsTop;
    if (y < 0 || y >= m_rowOffsets.back())
        return std::nullopt;
    const auto begin = m_rowOffsets.cbegin();
    const int row = int(std::upper_bound(begin + 1, m_rowOffsets.cend(), y) - (begin + 1));
    if (row < 0 || row >= m_rowCount)
        return std::nullopt;
    return IndexPath{0, row};
}

QRectF TableView::rectForRowAtIndexPath(const IndexPath &indexPath) const
{
    if (indexPath.section != 0 || indexPath.row < 0 || indexPath.row >= m_rowCount)
        return {};
    return {0, rowTop(indexPath.row), qreal(width()), rowHeightAt(indexPath.row)};
}

void TableView::scrollToRowAtIndexPath(const IndexPath &indexPath, bool animated)
{
    const QRectF rect = rectForRowAtIndexPath(indexPath);
    if (!rect.isNull())
        scrollRectToVisible(rect, animated);
}

std::optional<IndexPath> TableView::indexPathForSelectedRow() const
{
    if (!m_selectedRow)
        return std::nullopt;
    return IndexPath{0, *m_selectedRow};
}

void TableView::selectRowAtIndexPath(const IndexPath &indexPath, bool animated)
{
    if (indexPath.section != 0 || indexPath.row < 0 || indexPath.row >= m_rowCount)
        return;
    if (m_selectedRow && *m_selectedRow != indexPath.row) {
        if (TableViewCell *old = cellForRowAtIndexPath({0, *m_selectedRow}))
            old->setSelected(false, animated);
    }
    m_selectedRow = indexPath.row;
    if (TableViewCell *cell = cellForRowAtIndexPath(indexPath))
        cell->setSelected(true, animated);
}

void TableView::deselectRowAtIndexPath(const IndexPath &indexPath, bool animated)
{
    if (indexPath.section != 0 || m_selectedRow != indexPath.row)
        return;
    m_selectedRow.reset();
    if (TableViewCell *cell = cellForRowAtIndexPath(indexPath))
        cell->setSelected(false, animated);
}

void TableView::tapRowAtIndexPath(const IndexPath &indexPath)
{
    if (indexPath.section != 0 || indexPath.row < 0 || indexPath.row >= m_rowCount)
        return;
    std::optional<IndexPath> target = indexPath;
    if (m_delegate)
        target = m_delegate->willSelectRowAtIndexPath(this, indexPath);
    if (!target || target->section != 0 || target->row < 0 || target->row >= m_rowCount)
        return;
    if (m_selectedRow && *m_selectedRow != target->row) {
        const IndexPath old{0, *m_selectedRow};
        deselectRowAtIndexPath(old, false);
        if (m_delegate)
            m_delegate->didDeselectRowAtIndexPath(this, old);
    }
    selectRowAtIndexPath(*target, false);
    if (m_delegate)
        m_delegate->didSelectRowAtIndexPath(this, *target);
}

int TableView::pooledCellCount() const
{
    int count = 0;
    for (const QList<TableViewCell *> &pool : m_pool)
        count += int(pool.size());
    return count;
}

void TableView::setHighlightedRow(std::optional<int> row)
{
    if (m_highlightedRow == row)
        return;
    if (m_highlightedRow) {
        if (TableViewCell *cell = cellForRowAtIndexPath({0, *m_highlightedRow}))
            cell->setHighlighted(false);
    }
    m_highlightedRow = row;
    if (row) {
        if (TableViewCell *cell = cellForRowAtIndexPath({0, *row}))
            cell->setHighlighted(true);
    }
}

void TableView::contentOffsetDidChange()
{
    if (m_sectionHeaderView)
        layoutTable();
    else
        layoutVisibleRows();
}

void TableView::layoutSubviews()
{
    if (!m_loaded)
        reloadData();
}

bool TableView::shouldBeginDragging(const QPointF &delta) const
{
    return std::abs(delta.y()) > 5 && std::abs(delta.y()) >= std::abs(delta.x());
}

void TableView::handleTap(const QPointF &point)
{
    if (m_suppressTap)
        return;
    if (m_swipeRow) {
        // A tap elsewhere takes the delete button away and selects nothing.
        cancelSwipeToDelete();
        return;
    }
    if (const auto path = indexPathForRowAtPoint(point))
        tapRowAtIndexPath(*path);
}

void TableView::resizeEvent(QResizeEvent *event)
{
    ScrollView::resizeEvent(event);
    layoutTable();
}

} // namespace ui
