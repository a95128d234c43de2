// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// The table by keyboard: the current row, its ring, the keys that move and open it.
#include "toolkit/tableview.h"

#include "toolkit/accessibility.h"
#include "toolkit/focusring.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace ui
{

std::optional<IndexPath> TableView::keyboardIndexPath() const
{
    if (!m_keyboardRow)
        return std::nullopt;
    return IndexPath{0, *m_keyboardRow};
}

void TableView::setKeyboardIndexPath(const IndexPath &indexPath)
{
    if (indexPath.section == 0 && indexPath.row >= 0 && indexPath.row < m_rowCount)
        moveKeyboardRow(indexPath.row, false);
}

bool TableView::canBecomeFocused() const
{
    if (m_rowCount == 0 || !ScrollView::canBecomeFocused())
        return false;
    const QList<TableViewCell *> cells = visibleCells();
    const bool form = !cells.isEmpty() && std::all_of(cells.begin(), cells.end(), [](auto *cell) {
        return cell->template findChild<QLineEdit *>() != nullptr;
    });
    return !form;
}

bool TableView::revealNextRow(bool forward)
{
    const QList<IndexPath> shown = indexPathsForVisibleRows();
    if (shown.isEmpty())
        return false;
    const int next = forward ? shown.last().row + 1 : shown.first().row - 1;
    if (next < 0 || next >= m_rowCount)
        return false;
    scrollToRowAtIndexPath({0, next}, false);
    return true;
}

QWidget *TableView::accessibilityFocusedElement() const
{
    return m_keyboardRow ? cellForRowAtIndexPath({0, *m_keyboardRow}) : nullptr;
}

int TableView::rowsInSight() const
{
    return std::max(1, int(indexPathsForVisibleRows().size()) - 1);
}

void TableView::moveKeyboardRow(int row, bool pullAtEnd)
{
    if (m_rowCount == 0)
        return;
    const bool wasLast = m_keyboardRow == m_rowCount - 1;
    row = std::clamp(row, 0, m_rowCount - 1);
    const bool moved = m_keyboardRow != row;
    m_keyboardRow = row;
    scrollToRowAtIndexPath({0, row}, false);
    placeFocusRing();
    if (moved && hasFocus())
        Accessibility::focusMovedTo(accessibilityFocusedElement());
    // At the end of the list the keyboard asks for more as a finger pulling up past it does.
    if (pullAtEnd && row == m_rowCount - 1 && (moved || wasLast))
        pullPastEnd();
}

void TableView::placeFocusRing()
{
    if (!m_keyboardRow && !m_focusRing)
        return;
    if (!m_focusRing)
        m_focusRing = new FocusRing(contentView());
    const QRectF row = m_keyboardRow ? rectForRowAtIndexPath({0, *m_keyboardRow}) : QRectF();
    m_focusRing->place(row.toRect(), hasFocus() && !row.isEmpty());
}

void TableView::keyPressEvent(QKeyEvent *event)
{
    if (m_rowCount == 0 || event->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) {
        ScrollView::keyPressEvent(event);
        return;
    }
    const int row = m_keyboardRow.value_or(-1);
    switch (event->key()) {
    case Qt::Key_Up:
        moveKeyboardRow(row - 1, false);
        break;
    case Qt::Key_Down:
        moveKeyboardRow(row + 1, true);
        break;
    case Qt::Key_PageUp:
        moveKeyboardRow(row - rowsInSight(), false);
        break;
    case Qt::Key_PageDown:
        moveKeyboardRow(row + rowsInSight(), true);
        break;
    case Qt::Key_Home:
        moveKeyboardRow(0, false);
        break;
    case Qt::Key_End:
        moveKeyboardRow(m_rowCount - 1, true);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_keyboardRow)
            tapRowAtIndexPath({0, *m_keyboardRow});
        break;
    default:
        ScrollView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TableView::focusInEvent(QFocusEvent *event)
{
    ScrollView::focusInEvent(event);
    // The keyboard starts on the first row in sight.
    if (!m_keyboardRow && m_rowCount > 0) {
        const QList<IndexPath> shown = indexPathsForVisibleRows();
        m_keyboardRow = shown.isEmpty() ? 0 : shown.first().row;
    }
    placeFocusRing();
    Accessibility::focusMovedTo(accessibilityFocusedElement());
}

void TableView::focusOutEvent(QFocusEvent *event)
{
    ScrollView::focusOutEvent(event);
    placeFocusRing();
}

} // namespace ui
