// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/collectionviewflowlayout.h"

#include <cmath>

namespace ui
{

CollectionViewFlowLayout::Result CollectionViewFlowLayout::layout(int count, qreal width) const
{
    Result result;
    const qreal available = width - m_sectionInset.left - m_sectionInset.right;
    const qreal w = m_itemSize.width();
    const qreal h = m_itemSize.height();
    const int perRow =
        std::max(1, int(std::floor((available + m_interitemSpacing) / (w + m_interitemSpacing))));
    const qreal spacing =
        perRow > 1 ? std::max(m_interitemSpacing, (available - perRow * w) / (perRow - 1)) : 0;
    int rows = 0;
    for (int i = 0; i < count; ++i) {
        const int row = i / perRow;
        const int column = i % perRow;
        result.frames.append(QRectF(m_sectionInset.left + column * (w + spacing),
                                    m_sectionInset.top + row * (h + m_lineSpacing), w, h));
        rows = row + 1;
    }
    const qreal height = count > 0 ? rows * h + (rows - 1) * m_lineSpacing : 0;
    result.contentSize = QSizeF(width, m_sectionInset.top + height + m_sectionInset.bottom);
    return result;
}

} // namespace ui
