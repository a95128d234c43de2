// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/viewaccessible.h"

#include "toolkit/accessibility.h"
#include "toolkit/view.h"

#include <QGuiApplication>

using namespace Qt::StringLiterals;

namespace ui
{

ViewAccessible::ViewAccessible(QWidget *widget) : QAccessibleWidget(widget) {}

View *ViewAccessible::view() const
{
    return qobject_cast<View *>(widget());
}

QAccessibleInterface *ViewAccessible::parent() const
{
    if (QWidget *above = Accessibility::elementAbove(widget()))
        return QAccessible::queryAccessibleInterface(above);
    return QAccessibleWidget::parent();
}

int ViewAccessible::childCount() const
{
    return int(Accessibility::elementsUnder(widget()).size());
}

QAccessibleInterface *ViewAccessible::child(int index) const
{
    const QList<QWidget *> elements = Accessibility::elementsUnder(widget());
    if (index < 0 || index >= elements.size())
        return nullptr;
    return QAccessible::queryAccessibleInterface(elements.at(index));
}

int ViewAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    return int(Accessibility::elementsUnder(widget()).indexOf(child->object()));
}

QAccessibleInterface *ViewAccessible::focusChild() const
{
    if (View *v = view(); v && v->hasFocus()) {
        if (QWidget *current = v->accessibilityFocusedElement())
            return QAccessible::queryAccessibleInterface(current);
    }
    return QAccessibleWidget::focusChild();
}

QString ViewAccessible::text(QAccessible::Text t) const
{
    View *v = view();
    if (!v && t == QAccessible::Name && widget()->windowTitle().isEmpty())
        return QGuiApplication::applicationDisplayName();
    if (!v)
        return QAccessibleWidget::text(t);
    switch (t) {
    case QAccessible::Name:
        return v->accessibilityLabel();
    case QAccessible::Value:
        return v->accessibilityValue();
    default:
        return QAccessibleWidget::text(t);
    }
}

QAccessible::Role ViewAccessible::role() const
{
    if (View *v = view())
        return v->accessibilityRole();
    return QAccessible::Window;
}

QAccessible::State ViewAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    if (View *v = view())
        v->addAccessibilityStates(state);
    return state;
}

bool ViewAccessible::hasPressAction() const
{
    const QAccessible::Role r = role();
    return r == QAccessible::Button || r == QAccessible::ListItem;
}

QStringList ViewAccessible::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (hasPressAction() && widget()->isEnabled())
        names.prepend(pressAction());
    return names;
}

void ViewAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction()) {
        if (View *v = view(); v && v->isEnabled())
            v->accessibilityActivate();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

QStringList ViewAccessible::keyBindingsForAction(const QString &actionName) const
{
    if (actionName == pressAction())
        return {u"Return"_s, u"Space"_s};
    return QAccessibleWidget::keyBindingsForAction(actionName);
}

} // namespace ui
