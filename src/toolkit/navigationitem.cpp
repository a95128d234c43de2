// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/navigationitem.h"

namespace ui
{

void NavigationItem::setTitle(const QString &title)
{
    m_title = title;
    Q_EMIT changed();
}

void NavigationItem::setLeftBarButtonItem(std::shared_ptr<BarButtonItem> item)
{
    m_left = std::move(item);
    Q_EMIT changed();
}

void NavigationItem::setRightBarButtonItem(std::shared_ptr<BarButtonItem> item)
{
    m_right = std::move(item);
    Q_EMIT changed();
}

void NavigationItem::setBackBarButtonItem(std::shared_ptr<BarButtonItem> item)
{
    m_back = std::move(item);
    Q_EMIT changed();
}

void NavigationItem::setHidesBackButton(bool hides)
{
    m_hidesBackButton = hides;
    Q_EMIT changed();
}

} // namespace ui
