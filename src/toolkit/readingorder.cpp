// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/readingorder.h"

#include <QWidget>

#include <algorithm>
#include <vector>

namespace ui
{

void ReadingOrder::sort(QList<QWidget *> &widgets, const QWidget *reference)
{
    struct Placed {
        QWidget *widget;
        QRect rect;
    };
    std::vector<Placed> placed;
    placed.reserve(size_t(widgets.size()));
    for (QWidget *widget : std::as_const(widgets)) {
        const QPoint origin = reference && reference->isAncestorOf(widget)
                                  ? widget->mapTo(reference, QPoint(0, 0))
                                  : widget->mapToGlobal(QPoint(0, 0));
        placed.push_back({widget, QRect(origin, widget->size())});
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Placed &a, const Placed &b) { return a.rect.top() < b.rect.top(); });
    widgets.clear();
    auto lineBegin = placed.begin();
    while (lineBegin != placed.end()) {
        const QRect first = lineBegin->rect;
        auto lineEnd = std::find_if(lineBegin + 1, placed.end(), [first](const Placed &p) {
            return p.rect.top() >= first.top() + std::min(first.height(), p.rect.height()) / 2;
        });
        std::stable_sort(lineBegin, lineEnd, [](const Placed &a, const Placed &b) {
            return a.rect.left() < b.rect.left();
        });
        for (auto it = lineBegin; it != lineEnd; ++it)
            widgets.append(it->widget);
        lineBegin = lineEnd;
    }
}

} // namespace ui
