// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/focuschain.h"

#include "toolkit/alertview.h"
#include "toolkit/button.h"
#include "toolkit/collectionview.h"
#include "toolkit/readingorder.h"
#include "toolkit/scrollview.h"
#include "toolkit/tableview.h"

#include <QApplication>
#include <QLineEdit>

namespace ui
{

namespace
{

bool isStop(const QWidget *widget)
{
    if (const auto *view = qobject_cast<const View *>(widget))
        return view->canBecomeFocused();
    return (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled();
}

// A grid's entries and a button's title are reached through the grid and the button.
bool holdsStops(const QWidget *widget)
{
    return !qobject_cast<const CollectionView *>(widget) && !qobject_cast<const Button *>(widget) &&
           !qobject_cast<const QLineEdit *>(widget);
}

void collect(QWidget *widget, QList<QWidget *> &into)
{
    for (QObject *child : widget->children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (!w || w->isWindow() || w->isHidden())
            continue;
        if (isStop(w))
            into.append(w);
        if (holdsStops(w))
            collect(w, into);
    }
}

TableView *tableAround(QWidget *widget)
{
    for (QWidget *w = widget ? widget->parentWidget() : nullptr; w; w = w->parentWidget()) {
        if (auto *table = qobject_cast<TableView *>(w))
            return table;
    }
    return nullptr;
}

} // namespace

QList<QWidget *> FocusChain::stops(QWidget *root)
{
    QList<QWidget *> result;
    if (!root)
        return result;
    const QList<AlertView *> alerts = AlertView::visibleAlerts();
    if (!alerts.isEmpty() && root->isAncestorOf(alerts.last()))
        root = alerts.last();
    collect(root, result);
    ReadingOrder::sort(result, root);
    return result;
}

bool FocusChain::moveFocus(QWidget *window, bool forward)
{
    QWidget *current = QApplication::focusWidget();
    QList<QWidget *> chain = stops(window);
    if (chain.isEmpty())
        return false;
    qsizetype at = chain.indexOf(current);
    const qsizetype step = forward ? 1 : -1;
    // Before leaving a table, its rows out of sight come in one by one.
    TableView *table = at >= 0 ? tableAround(current) : nullptr;
    while (table) {
        QWidget *next = chain.at((at + step + chain.size()) % chain.size());
        if (table->isAncestorOf(next) || !table->revealNextRow(forward))
            break;
        chain = stops(window);
        at = chain.indexOf(current);
        if (at < 0)
            break;
    }
    QWidget *target = at < 0 ? (forward ? chain.first() : chain.last())
                             : chain.at((at + step + chain.size()) % chain.size());
    target->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    reveal(target);
    return true;
}

QWidget *FocusChain::firstField(QWidget *screen)
{
    const QList<QWidget *> chain = stops(screen);
    for (QWidget *stop : chain) {
        if (qobject_cast<QLineEdit *>(stop))
            return stop;
    }
    return chain.isEmpty() ? nullptr : chain.first();
}

void FocusChain::reveal(QWidget *widget)
{
    for (QWidget *w = widget->parentWidget(); w; w = w->parentWidget()) {
        auto *scroll = qobject_cast<ScrollView *>(w);
        if (!scroll || !scroll->contentView()->isAncestorOf(widget))
            continue;
        const QPoint at = widget->mapTo(scroll->contentView(), QPoint(0, 0));
        scroll->scrollRectToVisible(QRectF(QRect(at, widget->size())), false);
    }
}

} // namespace ui
