// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/view.h"

#include <QList>
#include <QPointer>

namespace ui
{

class Button;
class Label;
class NavigationItem;

// The bar across the top of a navigation controller: the title of the top item, on the left
// a back button titled after the item beneath (its back button's title, else the application's
// default back title, else its title, else "Back") or the top item's own left button, on the
// right the top item's right button.
class NavigationBar : public View
{
    Q_OBJECT

public:
    static constexpr qreal kHeight = 44;

    explicit NavigationBar(const QRectF &frame = {}, QWidget *parent = nullptr);

    // The back title of an item that names no back button of its own, for every bar: an
    // application whose screens title their back buttons once they have appeared sets it, so
    // that a sliding screen shows the same title from its first frame. Main thread only.
    static QString defaultBackButtonTitle();
    static void setDefaultBackButtonTitle(const QString &title);

    // The items of the controllers on the stack, bottom first (set by the controller).
    void setItems(const QList<NavigationItem *> &items);
    QList<NavigationItem *> items() const;
    NavigationItem *topItem() const;
    NavigationItem *backItem() const;
    QColor tintColor() const { return m_tint; }
    void setTintColor(const QColor &color);

    // What the bar shows, for tests.
    QString displayedTitle() const;
    Button *backButton() const { return m_backButton; }
    Button *leftButton() const { return m_leftButton; }
    Button *rightButton() const { return m_rightButton; }

    // A tool bar named by the title it shows, holding its buttons.
    QAccessible::Role accessibilityRole() const override { return QAccessible::ToolBar; }

Q_SIGNALS:
    void backButtonClicked();
    // The title shown changed (another screen on top, or the top screen retitled).
    void titleChanged(const QString &title);

protected:
    QString shownAccessibilityLabel() const override { return displayedTitle(); }
    void paintEvent(QPaintEvent *event) override;
    void layoutSubviews() override;

private:
    void refresh();
    Button *makeButton();

    QList<QPointer<NavigationItem>> m_items;
    QColor m_tint;
    Label *m_titleLabel;
    Button *m_backButton;
    Button *m_leftButton;
    Button *m_rightButton;
};

} // namespace ui
