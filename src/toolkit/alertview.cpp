// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/alertview.h"

#include "toolkit/alertviewdelegate.h"
#include "toolkit/button.h"
#include "toolkit/color.h"
#include "toolkit/font.h"
#include "toolkit/label.h"
#include "toolkit/textmetrics.h"
#include "toolkit/toolkitlog.h"
#include "toolkit/window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>

namespace ui
{

namespace
{
constexpr qreal kBoxWidth = 284;
constexpr qreal kPadding = 12;
constexpr qreal kButtonHeight = 43;
constexpr qreal kGap = 8;
// Deep blue box; its buttons a lighter shade of it. Both opaque.
constexpr QColor kBoxColor(13, 31, 77);
constexpr QColor kButtonColor(56, 71, 110);

QList<AlertView *> &shownAlerts()
{
    static QList<AlertView *> alerts;
    return alerts;
}

QWidget *hostWidget()
{
    if (Window *window = Window::keyWindow())
        return window;
    const QWidgetList tops = QApplication::topLevelWidgets();
    for (QWidget *top : tops) {
        if (top->isVisible() && !qobject_cast<AlertView *>(top))
            return top;
    }
    return nullptr;
}
} // namespace

AlertView::AlertView(const QString &title, const QString &message, AlertViewDelegate *delegate,
                     const QString &cancelButtonTitle, const QStringList &otherButtonTitles)
    : View({}, nullptr), m_title(title), m_message(message), m_delegate(delegate),
      m_titleLabel(new Label), m_messageLabel(new Label), m_hasCancel(!cancelButtonTitle.isEmpty())
{
    if (m_hasCancel)
        m_buttonTitles.append(cancelButtonTitle);
    m_buttonTitles.append(otherButtonTitles);
    setBackgroundColor(Color::colorWithWhite(0, 0.4));
    setFocusPolicy(Qt::StrongFocus);
    for (Label *label : {m_titleLabel, m_messageLabel}) {
        label->setTextColor(Color::whiteColor());
        label->setTextAlignment(TextAlignment::Center);
        label->setNumberOfLines(0);
        label->setLineBreakMode(LineBreakMode::WordWrap);
        addSubview(label);
    }
    m_titleLabel->setFont(Font::boldSystemFontOfSize(17));
    m_titleLabel->setText(title);
    m_messageLabel->setFont(Font::systemFontOfSize(15));
    m_messageLabel->setText(message);
    // The text that names the dialog is not read a second time inside it.
    (title.isEmpty() ? m_messageLabel : m_titleLabel)->setIsAccessibilityElement(false);
    for (int i = 0; i < m_buttonTitles.size(); ++i) {
        auto *button = new Button(ButtonType::Custom);
        button->setTitle(m_buttonTitles.at(i));
        button->titleLabel()->setFont(i == cancelButtonIndex() ? Font::boldSystemFontOfSize(16)
                                                               : Font::systemFontOfSize(16));
        // Opaque, like the box: the screen beneath must not show through the buttons.
        button->setBackgroundColor(kButtonColor);
        button->layer().setCornerRadius(6);
        button->layer().setBorderWidth(1);
        button->layer().setBorderColor(Color::colorWithWhite(0, 0.35));
        button->addTarget([this, i] { clickButtonAtIndex(i); }, ControlEvent::TouchUpInside);
        addSubview(button);
        m_buttons.append(button);
    }
}

AlertView::~AlertView()
{
    shownAlerts().removeAll(this);
}

QString AlertView::shownAccessibilityLabel() const
{
    return m_title.isEmpty() ? m_message : m_title;
}

int AlertView::firstOtherButtonIndex() const
{
    const int first = m_hasCancel ? 1 : 0;
    return first < m_buttonTitles.size() ? first : -1;
}

void AlertView::show()
{
    if (m_shown)
        return;
    m_shown = true;
    shownAlerts().append(this);
    QWidget *host = hostWidget();
    if (!host) {
        // The message may quote what the user entered; the title says which alert it was.
        qCWarning(lcToolkit) << "no window to show the alert in:" << m_title;
        return;
    }
    setParent(host);
    setFrame(QRectF(host->rect()));
    raise();
    QWidget::show();
    m_focusBefore = QApplication::focusWidget();
    setFocus(Qt::OtherFocusReason);
}

void AlertView::clickButtonAtIndex(int index)
{
    if (!m_shown || index < 0 || index >= m_buttonTitles.size())
        return;
    QPointer<AlertView> self(this);
    if (m_delegate)
        m_delegate->alertViewClickedButtonAtIndex(this, index);
    if (self)
        dismissWithClickedButtonIndex(index, true);
}

void AlertView::dismissWithClickedButtonIndex(int index, bool)
{
    if (!m_shown)
        return;
    m_shown = false;
    shownAlerts().removeAll(this);
    // The focus goes back before the alert hides, or Qt would hand it to the next stop.
    if (hasFocus()) {
        if (m_focusBefore && m_focusBefore->isVisible() && m_focusBefore->isEnabled())
            m_focusBefore->setFocus(Qt::OtherFocusReason);
        else if (QWidget *host = parentWidget())
            host->setFocus(Qt::OtherFocusReason);
    }
    QWidget::hide();
    if (m_delegate)
        m_delegate->alertViewDidDismissWithButtonIndex(this, index);
    deleteLater();
}

QList<AlertView *> AlertView::visibleAlerts()
{
    return shownAlerts();
}

QRectF AlertView::boxRect() const
{
    const qreal inner = kBoxWidth - 2 * kPadding;
    const qreal titleH =
        m_title.isEmpty()
            ? 0
            : TextMetrics::sizeWithFont(m_title, m_titleLabel->font(), QSizeF(inner, 1e6)).height();
    const qreal messageH =
        m_message.isEmpty()
            ? 0
            : TextMetrics::sizeWithFont(m_message, m_messageLabel->font(), QSizeF(inner, 1e6))
                  .height();
    const qsizetype rows = m_buttons.size() == 2 ? 1 : m_buttons.size();
    qreal h = kPadding + titleH + (titleH > 0 ? kGap : 0) + messageH + (messageH > 0 ? kGap : 0) +
              rows * (kButtonHeight + kGap) + kPadding - kGap;
    h = std::min(h, std::max(0.0, height() - 20.0));
    return {(width() - kBoxWidth) / 2, (height() - h) / 2, kBoxWidth, h};
}

void AlertView::layoutSubviews()
{
    const QRectF box = boxRect();
    const qreal inner = kBoxWidth - 2 * kPadding;
    qreal y = box.top() + kPadding;
    if (!m_title.isEmpty()) {
        const qreal h =
            TextMetrics::sizeWithFont(m_title, m_titleLabel->font(), QSizeF(inner, 1e6)).height();
        m_titleLabel->setFrame(QRectF(box.left() + kPadding, y, inner, h));
        y += h + kGap;
    }
    if (!m_message.isEmpty()) {
        const qreal h =
            TextMetrics::sizeWithFont(m_message, m_messageLabel->font(), QSizeF(inner, 1e6))
                .height();
        m_messageLabel->setFrame(QRectF(box.left() + kPadding, y, inner, h));
        y += h + kGap;
    }
    if (m_buttons.size() == 2) {
        // Two buttons sit side by side, cancel on the left.
        const qreal w = (inner - kGap) / 2;
        m_buttons[0]->setFrame(QRectF(box.left() + kPadding, y, w, kButtonHeight));
        m_buttons[1]->setFrame(QRectF(box.left() + kPadding + w + kGap, y, w, kButtonHeight));
        return;
    }
    // Otherwise stacked, the cancel button last as the phone places it.
    for (qsizetype i = 0; i < m_buttons.size(); ++i) {
        const qsizetype slot = m_hasCancel ? (i == 0 ? m_buttons.size() - 1 : i - 1) : i;
        m_buttons[i]->setFrame(
            QRectF(box.left() + kPadding, y + slot * (kButtonHeight + kGap), inner, kButtonHeight));
    }
}

void AlertView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintBackground(painter);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(boxRect(), 10, 10);
    painter.fillPath(path, kBoxColor);
    painter.setPen(QPen(Color::colorWithWhite(1, 0.8), 2));
    painter.drawPath(path);
}

void AlertView::mousePressEvent(QMouseEvent *event)
{
    // The backdrop swallows touches meant for the screen beneath.
    event->accept();
}

int AlertView::defaultButtonIndex() const
{
    const int other = firstOtherButtonIndex();
    return other >= 0 ? other : cancelButtonIndex();
}

void AlertView::keyPressEvent(QKeyEvent *event)
{
    // What desktop users expect of a dialog box.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        clickButtonAtIndex(defaultButtonIndex());
        return;
    case Qt::Key_Escape:
        event->accept();
        clickButtonAtIndex(cancelButtonIndex());
        return;
    default:
        // Keys never reach the screen beneath while the alert is up.
        event->accept();
        return;
    }
}

} // namespace ui
