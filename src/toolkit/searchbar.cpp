// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/searchbar.h"

#include "toolkit/accessibility.h"
#include "toolkit/button.h"
#include "toolkit/color.h"
#include "toolkit/focusring.h"
#include "toolkit/font.h"
#include "toolkit/label.h"
#include "toolkit/searchbardelegate.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

using namespace Qt::StringLiterals;

namespace ui
{

namespace
{
constexpr int kMargin = 7;
constexpr int kCancelWidth = 52;
} // namespace

SearchBar::SearchBar(const QRectF &frame, QWidget *parent)
    : View(frame, parent), m_edit(new QLineEdit(this)), m_cancel(new Button(ButtonType::Custom)),
      m_tint(Color::colorWithRed(0.69, 0.74, 0.8))
{
    m_edit->setFrame(false);
    m_edit->setFont(Font::systemFontOfSize(14));
    m_edit->setClearButtonEnabled(true);
    m_edit->setTextMargins(22, 0, 4, 0);
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Text, Qt::black);
    m_edit->setPalette(palette);
    m_edit->installEventFilter(this);
    connect(m_edit, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (m_delegate)
            m_delegate->textDidChange(this, text);
    });
    connect(m_edit, &QLineEdit::returnPressed, this, [this] {
        if (m_delegate)
            m_delegate->searchBarSearchButtonClicked(this);
    });
    m_cancel->setTitle(QCoreApplication::translate("ui::SearchBar", "取消"));
    m_cancel->titleLabel()->setFont(Font::boldSystemFontOfSize(13));
    m_cancel->setBackgroundColor(Color::colorWithRed(0.45, 0.52, 0.62));
    m_cancel->layer().setCornerRadius(5);
    m_cancel->setHidden(true);
    m_cancel->addTarget(
        [this] {
            if (m_delegate)
                m_delegate->searchBarCancelButtonClicked(this);
        },
        ControlEvent::TouchUpInside);
    addSubview(m_cancel);
    layoutSubviews();
}

QString SearchBar::text() const
{
    return m_edit->text();
}

void SearchBar::setText(const QString &text)
{
    m_edit->setText(text);
}

QString SearchBar::placeholder() const
{
    return m_edit->placeholderText();
}

void SearchBar::setPlaceholder(const QString &placeholder)
{
    m_edit->setPlaceholderText(placeholder);
    Accessibility::nameChanged(m_edit);
}

QString SearchBar::shownAccessibilityLabel() const
{
    return placeholder().isEmpty() ? QCoreApplication::translate("ui::SearchBar", "搜索")
                                   : placeholder();
}

void SearchBar::setShowsCancelButton(bool shows)
{
    m_showsCancel = shows;
    m_cancel->setHidden(!shows);
    layoutSubviews();
}

void SearchBar::setTintColor(const QColor &color)
{
    m_tint = color;
    update();
}

bool SearchBar::mayBeginEditing()
{
    return m_firstResponder || !m_delegate || m_delegate->searchBarShouldBeginEditing(this);
}

bool SearchBar::becomeFirstResponder()
{
    if (!mayBeginEditing())
        return false;
    // Responder before the focus arrives, so that the delegate is asked once, not again when
    // the editor reports the focus.
    setFirstResponder(true);
    m_edit->setFocus(Qt::OtherFocusReason);
    return true;
}

bool SearchBar::resignFirstResponder()
{
    if (m_firstResponder && m_delegate && !m_delegate->searchBarShouldEndEditing(this))
        return false;
    if (m_edit->hasFocus())
        m_edit->clearFocus();
    setFirstResponder(false);
    return true;
}

void SearchBar::setFirstResponder(bool responder)
{
    if (m_firstResponder == responder)
        return;
    m_firstResponder = responder;
    if (!m_delegate)
        return;
    if (responder)
        m_delegate->searchBarTextDidBeginEditing(this);
    else
        m_delegate->searchBarTextDidEndEditing(this);
}

bool SearchBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_edit)
        return View::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // A refused tap does not reach the editor, so it never takes the focus.
        return !mayBeginEditing();
    case QEvent::FocusIn:
        if (!mayBeginEditing()) {
            QMetaObject::invokeMethod(
                m_edit, [edit = m_edit] { edit->clearFocus(); }, Qt::QueuedConnection);
            return false;
        }
        setFirstResponder(true);
        update();
        return false;
    case QEvent::FocusOut: {
        update();
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            setFirstResponder(false);
        return false;
    }
    default:
        return false;
    }
}

void SearchBar::layoutSubviews()
{
    const int cancel = m_showsCancel ? kCancelWidth + kMargin : 0;
    m_edit->setGeometry(kMargin, kMargin, std::max(0, width() - 2 * kMargin - cancel),
                        std::max(0, height() - 2 * kMargin));
    m_cancel->setFrame(QRectF(width() - kMargin - kCancelWidth, kMargin, kCancelWidth,
                              std::max(0, height() - 2 * kMargin)));
}

void SearchBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, m_tint.lighter(115));
    gradient.setColorAt(1, m_tint.darker(110));
    painter.fillRect(rect(), gradient);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF field = QRectF(m_edit->geometry()).adjusted(-0.5, -0.5, 0.5, 0.5);
    QPainterPath path;
    path.addRoundedRect(field, field.height() / 2, field.height() / 2);
    painter.fillPath(path, Color::whiteColor());
    painter.setPen(QPen(Color::colorWithWhite(0.55), 1));
    painter.drawPath(path);
    // The magnifier in front of the text.
    const QPointF c(field.left() + 13, field.center().y() - 1);
    painter.setPen(QPen(Color::grayColor(), 1.6));
    painter.drawEllipse(c, 4.5, 4.5);
    painter.drawLine(c + QPointF(3.2, 3.2), c + QPointF(6.5, 6.5));
    if (m_edit->hasFocus())
        FocusRing::paint(painter, field.adjusted(-2, -2, 2, 2), field.height() / 2 + 2);
}

} // namespace ui
