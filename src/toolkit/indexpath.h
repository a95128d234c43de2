// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QDebug>
#include <QMetaType>

namespace ui
{

// Position of a row (table) or item (grid) within a section.
struct IndexPath {
    int section = 0;
    int row = 0;

    int item() const { return row; }
    static IndexPath indexPathForRow(int row, int section = 0) { return {section, row}; }
    static IndexPath indexPathForItem(int item, int section = 0) { return {section, item}; }

    friend bool operator==(const IndexPath &, const IndexPath &) = default;
    friend auto operator<=>(const IndexPath &, const IndexPath &) = default;
};

inline QDebug operator<<(QDebug dbg, const IndexPath &path)
{
    QDebugStateSaver saver(dbg);
    dbg.nospace() << "IndexPath(" << path.section << ", " << path.row << ')';
    return dbg;
}

} // namespace ui

Q_DECLARE_METATYPE(ui::IndexPath)
