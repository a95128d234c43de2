// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// The grid by keyboard: the current entry, its ring, the keys that move and press it.
#include "toolkit/collectionview.h"

#include "toolkit/accessibility.h"
#include "toolkit/focusring.h"

#include <QKeyEvent>

#include <cmath>

namespace ui
{

std::optional<IndexPath> CollectionView::keyboardIndexPath() const
{
    if (!m_keyboardItem)
        return std::nullopt;
    return IndexPath{0, *m_keyboardItem};
}

bool CollectionView::canBecomeFocused() const
{
    return !m_cells.empty() && ScrollView::canBecomeFocused();
}

QWidget *CollectionView::accessibilityFocusedElement() const
{
    return m_keyboardItem ? cellForItemAtIndexPath({0, *m_keyboardItem}) : nullptr;
}

int CollectionView::itemInNextLine(int item, bool down) const
{
    const QRectF from = m_frames.value(item);
    int best = item;
    qreal bestLine = 0;
    qreal bestAcross = 0;
    for (int i = 0; i < m_frames.size(); ++i) {
        const QRectF to = m_frames.at(i);
        const qreal line = down ? to.top() - from.bottom() : from.top() - to.bottom();
        if (line < 0)
            continue;
        const qreal across = std::abs(to.center().x() - from.center().x());
        if (best == item || line < bestLine || (line == bestLine && across < bestAcross)) {
            best = i;
            bestLine = line;
            bestAcross = across;
        }
    }
    return best;
}

void CollectionView::moveKeyboardItem(int item)
{
    if (m_cells.empty())
        return;
    item = std::clamp(item, 0, int(m_cells.size()) - 1);
    const bool moved = m_keyboardItem != item;
    m_keyboardItem = item;
    scrollRectToVisible(m_frames.value(item), false);
    placeFocusRing();
    if (moved && hasFocus())
        Accessibility::focusMovedTo(accessibilityFocusedElement());
}

void CollectionView::placeFocusRing()
{
    if (!m_keyboardItem && !m_focusRing)
        return;
    if (!m_focusRing)
        m_focusRing = new FocusRing(contentView());
    const QRectF frame = m_keyboardItem ? m_frames.value(*m_keyboardItem) : QRectF();
    m_focusRing->place(frame.toRect(), hasFocus() && !frame.isEmpty());
}

void CollectionView::keyPressEvent(QKeyEvent *event)
{
    if (m_cells.empty() || event->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) {
        ScrollView::keyPressEvent(event);
        return;
    }
    const int item = m_keyboardItem.value_or(0);
    switch (event->key()) {
    case Qt::Key_Left:
        moveKeyboardItem(item - 1);
        break;
    case Qt::Key_Right:
        moveKeyboardItem(item + 1);
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        moveKeyboardItem(itemInNextLine(item, event->key() == Qt::Key_Down));
        break;
    case Qt::Key_Home:
        moveKeyboardItem(0);
        break;
    case Qt::Key_End:
        moveKeyboardItem(int(m_cells.size()) - 1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        selectItemAtIndexPath({0, item});
        break;
    default:
        ScrollView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CollectionView::focusInEvent(QFocusEvent *event)
{
    ScrollView::focusInEvent(event);
    if (!m_keyboardItem && !m_cells.empty())
        m_keyboardItem = 0;
    placeFocusRing();
    Accessibility::focusMovedTo(accessibilityFocusedElement());
}

void CollectionView::focusOutEvent(QFocusEvent *event)
{
    ScrollView::focusOutEvent(event);
    placeFocusRing();
}

} // namespace ui
