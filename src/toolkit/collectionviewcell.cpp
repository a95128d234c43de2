// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "collectionviewcell.h"

namespace ui
{

CollectionViewCell::CollectionViewCell(const QString &reuseIdentifier, QWidget *parent)
    : View({}, parent), m_reuseIdentifier(reuseIdentifier), m_contentView(new View)
{
    addSubview(m_contentView);
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
