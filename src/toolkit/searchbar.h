// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/searchbardelegate.h"
#include "toolkit/view.h"
#include "toolkit/weakdelegate.h"

class QLineEdit;

namespace ui
{

class Button;

// A search field on a tinted bar. It asks its delegate before taking the keyboard (a refused
// tap leaves it unfocused), reports each change the user makes, and turns the return key into
// the search button. An optional cancel button reports itself.
class SearchBar : public View
{
    Q_OBJECT

public:
    explicit SearchBar(const QRectF &frame = {}, QWidget *parent = nullptr);

    SearchBarDelegate *delegate() const { return m_delegate.get(); }
    // Held weakly: a delegate that is gone reads as none.
    void setDelegate(SearchBarDelegate *delegate) { m_delegate = delegate; }
    QString text() const;
    void setText(const QString &text);
    QString placeholder() const;
    void setPlaceholder(const QString &placeholder);
    bool showsCancelButton() const { return m_showsCancel; }
    void setShowsCancelButton(bool shows);
    QColor tintColor() const { return m_tint; }
    void setTintColor(const QColor &color);

    bool becomeFirstResponder();
    bool resignFirstResponder();
    bool isFirstResponder() const { return m_firstResponder; }

    // The editor inside, for tests that type into it.
    QLineEdit *lineEdit() const { return m_edit; }
    Button *cancelButton() const { return m_cancel; }

    // The editor is the element screen readers read, named after the bar: the label given,
    // else the placeholder, else "搜索".
    QAccessible::Role accessibilityRole() const override { return QAccessible::Client; }

protected:
    QString shownAccessibilityLabel() const override;
    void paintEvent(QPaintEvent *event) override;
    void layoutSubviews() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool mayBeginEditing();
    void setFirstResponder(bool responder);

    WeakDelegate<SearchBarDelegate> m_delegate;
    QLineEdit *m_edit;
    Button *m_cancel;
    QColor m_tint;
    bool m_showsCancel = false;
    bool m_firstResponder = false;
};

} // namespace ui
