// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// TableView's editing: swipe-to-delete, by gesture or by the calls the gesture itself uses.
#include "toolkit/tableview.h"

#include "toolkit/button.h"

#include <QMouseEvent>

#include <cmath>

namespace ui
{

namespace
{
constexpr qreal kSwipeDistance = 20;
} // namespace

void TableView::setEditing(bool editing, bool)
{
    m_editing = editing;
    if (!editing)
        cancelSwipeToDelete();
}

bool TableView::beginSwipeToDelete(const IndexPath &indexPath)
{
    if (indexPath.section != 0 || indexPath.row < 0 || indexPath.row >= m_rowCount ||
        !m_dataSource || !m_dataSource->canEditRowAtIndexPath(this, indexPath))
        return false;
    cancelSwipeToDelete();
    m_swipeRow = indexPath.row;
    m_editing = true;
    const QRectF row = rectForRowAtIndexPath(indexPath);
    m_deleteButton->setFrame(QRectF(width() - 10 - kDeleteButtonWidth,
                                    row.top() + (row.height() - kDeleteButtonHeight) / 2,
                                    kDeleteButtonWidth, kDeleteButtonHeight));
    m_deleteButton->setHidden(false);
    m_deleteButton->raise();
    return true;
}

bool TableView::confirmDelete()
{
    if (!m_swipeRow)
        return false;
    const IndexPath path{0, *m_swipeRow};
    cancelSwipeToDelete();
    if (m_dataSource)
        m_dataSource->commitEditingStyle(this, TableViewCellEditingStyle::Delete, path);
    return true;
}

void TableView::cancelSwipeToDelete()
{
    if (!m_swipeRow)
        return;
    m_swipeRow.reset();
    m_editing = false;
    m_deleteButton->setHidden(true);
}

std::optional<IndexPath> TableView::swipedIndexPath() const
{
    if (!m_swipeRow)
        return std::nullopt;
    return IndexPath{0, *m_swipeRow};
}

void TableView::mousePressEvent(QMouseEvent *event)
{
    ScrollView::mousePressEvent(event);
    if (!event->isAccepted())
        return;
    m_swipeGesture = false;
    m_pressPos = event->globalPosition();
    if (m_swipeRow)
        return;
    const auto path = indexPathForRowAtPoint(contentView()->mapFromGlobal(m_pressPos));
    setHighlightedRow(path ? std::optional<int>(path->row) : std::nullopt);
}

void TableView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_swipeGesture)
        return;
    const QPointF delta = event->globalPosition() - m_pressPos;
    if (isTracking() && !isDragging() && std::abs(delta.x()) > kSwipeDistance &&
        std::abs(delta.x()) > 1.5 * std::abs(delta.y())) {
        m_swipeGesture = true;
        setHighlightedRow(std::nullopt);
        const auto path = indexPathForRowAtPoint(contentView()->mapFromGlobal(m_pressPos));
        if (path && !m_swipeRow)
            beginSwipeToDelete(*path);
        return;
    }
    ScrollView::mouseMoveEvent(event);
    if (isDragging()) {
        setHighlightedRow(std::nullopt);
        cancelSwipeToDelete();
    }
}

void TableView::mouseReleaseEvent(QMouseEvent *event)
{
    setHighlightedRow(std::nullopt);
    m_suppressTap = m_swipeGesture;
    m_swipeGesture = false;
    ScrollView::mouseReleaseEvent(event);
    m_suppressTap = false;
}

} // namespace ui
