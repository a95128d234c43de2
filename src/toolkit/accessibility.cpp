// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/accessibility.h"

#include "toolkit/fieldaccessible.h"
#include "toolkit/readingorder.h"
#include "toolkit/view.h"
#include "toolkit/viewaccessible.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace ui
{

namespace
{

QAccessible::Role roleOf(const QWidget *widget)
{
    if (const auto *view = qobject_cast<const View *>(widget))
        return view->accessibilityRole();
    if (qobject_cast<const QLineEdit *>(widget))
        return QAccessible::EditableText;
    return widget->isWindow() ? QAccessible::Window : QAccessible::Client;
}

bool isReadIntoName(QAccessible::Role role)
{
    return role == QAccessible::StaticText || role == QAccessible::Graphic;
}

// Elements whose subviews assistive technologies may see.
bool showsElements(const QWidget *widget)
{
    const auto *view = qobject_cast<const View *>(widget);
    if (view && view->accessibilityElementsHidden())
        return false;
    switch (roleOf(widget)) {
    case QAccessible::Client:
    case QAccessible::Window:
    case QAccessible::List:
    case QAccessible::ListItem:
    case QAccessible::ToolBar:
    case QAccessible::Dialog:
    case QAccessible::AlertMessage:
    case QAccessible::Pane:
    case QAccessible::Grouping:
        return true;
    default:
        return false;
    }
}

bool isShown(const QWidget *widget)
{
    return !widget->isHidden() && !widget->isWindow();
}

void collectElements(const QWidget *widget, bool dropTexts, QList<QWidget *> &into)
{
    for (QObject *child : widget->children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (!w || !isShown(w))
            continue;
        if (Accessibility::isElement(w)) {
            if (!dropTexts || !isReadIntoName(roleOf(w)))
                into.append(w);
        } else {
            collectElements(w, dropTexts, into);
        }
    }
}

void collectTexts(const QWidget *widget, QList<QWidget *> &into)
{
    for (QObject *child : widget->children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (!w || !isShown(w))
            continue;
        if (!Accessibility::isElement(w))
            collectTexts(w, into);
        else if (isReadIntoName(roleOf(w)))
            into.append(w);
    }
}

void send(QAccessibleEvent &&event)
{
    QAccessible::updateAccessibility(&event);
}

} // namespace

static QAccessibleInterface *accessibleFactory(const QString &className, QObject *object)
{
    // Asked once for each class of the object's ancestry, the most derived first.
    if (!object || !object->isWidgetType() ||
        className != QLatin1StringView(object->metaObject()->className()))
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        if (qobject_cast<View *>(edit->parentWidget()))
            return new FieldAccessible(edit);
        return nullptr;
    }
    if (qobject_cast<View *>(widget) || (widget->isWindow() && widget->inherits("ui::Window")))
        return new ViewAccessible(widget);
    return nullptr;
}

void Accessibility::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

bool Accessibility::isElement(const QWidget *widget)
{
    if (!widget)
        return false;
    // A window is the root of its tree, whatever it shows.
    if (widget->isWindow())
        return true;
    if (const auto *view = qobject_cast<const View *>(widget))
        return view->isAccessibilityElement();
    return qobject_cast<const QLineEdit *>(widget) != nullptr;
}

bool Accessibility::isExposed(const QWidget *widget)
{
    if (!isElement(widget))
        return false;
    const QWidget *above = elementAbove(widget);
    if (!above)
        return widget->isWindow();
    if (!showsElements(above))
        return false;
    if (roleOf(above) == QAccessible::ListItem && isReadIntoName(roleOf(widget)))
        return false;
    return isExposed(above);
}

QList<QWidget *> Accessibility::elementsUnder(const QWidget *widget)
{
    QList<QWidget *> elements;
    if (!widget || !showsElements(widget))
        return elements;
    collectElements(widget, roleOf(widget) == QAccessible::ListItem, elements);
    ReadingOrder::sort(elements, widget);
    return elements;
}

QWidget *Accessibility::elementAbove(const QWidget *widget)
{
    for (QWidget *p = widget ? widget->parentWidget() : nullptr; p; p = p->parentWidget()) {
        if (isElement(p))
            return p;
    }
    return nullptr;
}

QString Accessibility::textsUnder(const QWidget *widget)
{
    QList<QWidget *> texts;
    collectTexts(widget, texts);
    ReadingOrder::sort(texts, widget);
    QStringList names;
    for (const QWidget *w : std::as_const(texts)) {
        const QString name = static_cast<const View *>(w)->accessibilityLabel().simplified();
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    }
    return names.join(u' ');
}

QString Accessibility::controlNamesUnder(const QWidget *widget)
{
    QList<QWidget *> controls;
    collectElements(widget, true, controls);
    ReadingOrder::sort(controls, widget);
    QStringList names;
    for (QWidget *control : std::as_const(controls)) {
        const QAccessibleInterface *face = QAccessible::queryAccessibleInterface(control);
        const QString name = face ? face->text(QAccessible::Name).simplified() : QString();
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    }
    return names.join(u' ');
}

void Accessibility::nameChanged(QWidget *widget)
{
    if (!QAccessible::isActive() || !widget)
        return;
    if (isExposed(widget))
        send(QAccessibleEvent(widget, QAccessible::NameChanged));
    // A field is read through its editor, named after the field.
    if (!isElement(widget)) {
        for (QLineEdit *editor : widget->findChildren<QLineEdit *>(Qt::FindDirectChildrenOnly))
            nameChanged(editor);
    }
    QWidget *above = elementAbove(widget);
    if (above && !above->isWindow() && isExposed(above))
        send(QAccessibleEvent(above, QAccessible::NameChanged));
}

void Accessibility::shown(QWidget *widget)
{
    if (!QAccessible::isActive() || !widget)
        return;
    if (isExposed(widget))
        send(QAccessibleEvent(widget, QAccessible::ObjectCreated));
    else if (!isElement(widget)) {
        for (QLineEdit *editor : widget->findChildren<QLineEdit *>(Qt::FindDirectChildrenOnly)) {
            if (!editor->isHidden() && isExposed(editor))
                send(QAccessibleEvent(editor, QAccessible::ObjectCreated));
        }
    }
}

void Accessibility::focusMovedTo(QWidget *widget)
{
    if (QAccessible::isActive() && widget && isExposed(widget))
        send(QAccessibleEvent(widget, QAccessible::Focus));
}

void Accessibility::stateChanged(QWidget *widget, const QAccessible::State &changed)
{
    if (QAccessible::isActive() && widget && isExposed(widget))
        send(QAccessibleStateChangeEvent(widget, changed));
}

} // namespace ui
