// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/fieldaccessible.h"

#include "toolkit/accessibility.h"
#include "toolkit/view.h"

#include <QLineEdit>

namespace ui
{

FieldAccessible::FieldAccessible(QLineEdit *edit)
    : QAccessibleWidget(edit, QAccessible::EditableText)
{
}

QLineEdit *FieldAccessible::edit() const
{
    return static_cast<QLineEdit *>(widget());
}

View *FieldAccessible::field() const
{
    return qobject_cast<View *>(widget()->parentWidget());
}

bool FieldAccessible::isSecure() const
{
    return edit()->echoMode() != QLineEdit::Normal;
}

QString FieldAccessible::readable() const
{
    return isSecure() ? QString() : edit()->text();
}

QAccessibleInterface *FieldAccessible::parent() const
{
    if (QWidget *above = Accessibility::elementAbove(widget()))
        return QAccessible::queryAccessibleInterface(above);
    return QAccessibleWidget::parent();
}

QString FieldAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return field() ? field()->accessibilityLabel() : edit()->placeholderText();
    case QAccessible::Value:
        return readable();
    default:
        return QAccessibleWidget::text(t);
    }
}

QAccessible::State FieldAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !edit()->isReadOnly();
    state.readOnly = edit()->isReadOnly();
    state.passwordEdit = isSecure();
    state.selectableText = !isSecure();
    return state;
}

void *FieldAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (t == QAccessible::EditableTextInterface && !edit()->isReadOnly())
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

void FieldAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !edit()->hasSelectedText() || isSecure())
        return;
    *startOffset = edit()->selectionStart();
    *endOffset = *startOffset + edit()->selectionLength();
}

int FieldAccessible::selectionCount() const
{
    return edit()->hasSelectedText() && !isSecure() ? 1 : 0;
}

void FieldAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void FieldAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        edit()->deselect();
}

void FieldAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0 && !isSecure())
        edit()->setSelection(startOffset, endOffset - startOffset);
}

int FieldAccessible::cursorPosition() const
{
    return isSecure() ? 0 : edit()->cursorPosition();
}

void FieldAccessible::setCursorPosition(int position)
{
    edit()->setCursorPosition(position);
}

QString FieldAccessible::text(int startOffset, int endOffset) const
{
    if (startOffset > endOffset)
        return {};
    return readable().mid(startOffset, endOffset - startOffset);
}

int FieldAccessible::characterCount() const
{
    return int(readable().size());
}

QRect FieldAccessible::characterRect(int) const
{
    return {};
}

int FieldAccessible::offsetAtPoint(const QPoint &point) const
{
    if (isSecure())
        return -1;
    return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
}

void FieldAccessible::scrollToSubstring(int startIndex, int)
{
    edit()->setCursorPosition(startIndex);
}

QString FieldAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = offset;
    return {};
}

void FieldAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void FieldAccessible::insertText(int offset, const QString &text)
{
    replaceText(offset, offset, text);
}

void FieldAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    // Through the editor's own editing, so that the field hears of it as of typing.
    edit()->setSelection(startOffset, endOffset - startOffset);
    edit()->insert(text);
}

} // namespace ui
