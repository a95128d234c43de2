// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/collectionviewcell.h"

#include "toolkit/accessibility.h"
#include "toolkit/collectionview.h"

namespace ui
{

CollectionViewCell::CollectionViewCell(const QString &reuseIdentifier, QWidget *parent)
    : View({}, parent), m_reuseIdentifier(reuseIdentifier), m_contentView(new View)
{
    addSubview(m_contentView);
    setAccessibilityElementsHidden(true);
}

QString CollectionViewCell::shownAccessibilityLabel() const
{
    const QString texts = Accessibility::textsUnder(this);
    return texts.isEmpty() ? Accessibility::controlNamesUnder(this) : texts;
}

void CollectionViewCell::addAccessibilityStates(QAccessible::State &state) const
{
    state.selectable = true;
    state.selected = m_selected;
    const auto *grid = qobject_cast<CollectionView *>(superview());
    state.focusable = grid != nullptr;
    state.focused = grid && grid->hasFocus() && grid->accessibilityFocusedElement() == this;
}

bool CollectionViewCell::accessibilityActivate()
{
    auto *grid = qobject_cast<CollectionView *>(superview());
    const qsizetype item = grid ? grid->visibleCells().indexOf(this) : -1;
    if (item < 0)
        return false;
    grid->selectItemAtIndexPath({0, int(item)});
    return true;
}

void CollectionViewCell::setSelected(bool selected)
{
    m_selected = selected;
    update();
}

void CollectionViewCell::setHighlighted(bool highlighted)
{
    m_highlighted = highlighted;
    update();
}

void CollectionViewCell::prepareForReuse()
{
    m_selected = false;
    m_highlighted = false;
}

void CollectionViewCell::layoutSubviews()
{
    m_contentView->setFrame(bounds());
}

} // namespace ui
