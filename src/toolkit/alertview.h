// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/alertviewdelegate.h"
#include "toolkit/view.h"
#include "toolkit/weakdelegate.h"

#include <QPointer>
#include <QStringList>

#include <memory>

namespace ui
{

class Button;
class Label;

// A modal message drawn inside the key window over a dimmed backdrop: it blocks touches to
// the screen beneath but never blocks the event loop. Once shown it keeps itself alive until
// a button is tapped (or it is dismissed), then tells its delegate and goes away. Box and
// buttons are opaque; with the keyboard focus it takes while shown, Enter presses the default
// button and Escape the cancel button.
class AlertView : public View
{
    Q_OBJECT

public:
    AlertView(const QString &title, const QString &message, AlertViewDelegate *delegate,
              const QString &cancelButtonTitle, const QStringList &otherButtonTitles = {});
    ~AlertView() override;
    static AlertView *initWithTitle(const QString &title, const QString &message,
                                    AlertViewDelegate *delegate, const QString &cancelButtonTitle,
                                    const QStringList &otherButtonTitles = {})
    {
        return new AlertView(title, message, delegate, cancelButtonTitle, otherButtonTitles);
    }

    QString title() const { return m_title; }
    QString message() const { return m_message; }
    int numberOfButtons() const { return int(m_buttonTitles.size()); }
    QString buttonTitleAtIndex(int index) const { return m_buttonTitles.value(index); }
    int cancelButtonIndex() const { return m_hasCancel ? 0 : -1; }
    int firstOtherButtonIndex() const;
    // The button that Enter presses: the first other button, else the cancel button.
    int defaultButtonIndex() const;
    QList<Button *> buttons() const { return m_buttons; }
    bool isVisible() const { return m_shown; }

    void show();
    // What a tap on a button does: the delegate hears of the click, then the alert goes.
    void clickButtonAtIndex(int index);
    // Goes without a click being reported.
    void dismissWithClickedButtonIndex(int index, bool animated);

    // The alerts on screen, oldest first.
    static QList<AlertView *> visibleAlerts();

    // A dialog named by its title (its message when it has none), holding its message and
    // buttons.
    QAccessible::Role accessibilityRole() const override { return QAccessible::Dialog; }

protected:
    QString shownAccessibilityLabel() const override;
    void paintEvent(QPaintEvent *event) override;
    void layoutSubviews() override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QRectF boxRect() const;

    QString m_title;
    QString m_message;
    QStringList m_buttonTitles;
    WeakDelegate<AlertViewDelegate> m_delegate;
    Label *m_titleLabel;
    Label *m_messageLabel;
    QList<Button *> m_buttons;
    bool m_hasCancel;
    // Where the keyboard's focus was when the alert came; it goes back there.
    QPointer<QWidget> m_focusBefore;
    bool m_shown = false;
};

} // namespace ui
