// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QAccessibleWidget>

namespace ui
{

class View;

// What assistive technologies see of a view (or of the window at the top): the role, name,
// value, states and press action the view declares, and the elements of the flattened tree
// around it (Accessibility::elementsUnder and elementAbove).
class ViewAccessible final : public QAccessibleWidget
{
public:
    explicit ViewAccessible(QWidget *widget);

    QAccessibleInterface *parent() const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *focusChild() const override;

    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    View *view() const;
    bool hasPressAction() const;
};

} // namespace ui
