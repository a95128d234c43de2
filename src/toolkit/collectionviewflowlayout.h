// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/edgeinsets.h"

#include <QList>
#include <QRectF>
#include <QSizeF>

#include <functional>

namespace ui
{

// Lays grid items out in rows, left to right and top to bottom, within the section insets.
// A row holds as many items as fit with at least the minimum inter-item spacing; the space
// left over is spread between the items, the same for every row, so columns line up.
class CollectionViewFlowLayout final
{
public:
    QSizeF itemSize() const { return m_itemSize; }
    void setItemSize(const QSizeF &size) { m_itemSize = size; }
    EdgeInsets sectionInset() const { return m_sectionInset; }
    void setSectionInset(const EdgeInsets &inset) { m_sectionInset = inset; }
    qreal minimumLineSpacing() const { return m_lineSpacing; }
    void setMinimumLineSpacing(qreal spacing) { m_lineSpacing = spacing; }
    qreal minimumInteritemSpacing() const { return m_interitemSpacing; }
    void setMinimumInteritemSpacing(qreal spacing) { m_interitemSpacing = spacing; }

    struct Result {
        QList<QRectF> frames;
        QSizeF contentSize;
    };
    // Frames of count items within the width.
    Result layout(int count, qreal width) const;

private:
    QSizeF m_itemSize{50, 50};
    EdgeInsets m_sectionInset;
    qreal m_lineSpacing = 10;
    qreal m_interitemSpacing = 10;
};

} // namespace ui
