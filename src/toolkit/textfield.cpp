// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/textfield.h"

#include "toolkit/accessibility.h"
#include "toolkit/color.h"
#include "toolkit/focusring.h"
#include "toolkit/font.h"
#include "toolkit/tableviewcell.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

namespace ui
{

namespace
{
constexpr int kPadding = 6;
} // namespace

TextField::TextField(const QRectF &frame, QWidget *parent)
    : Control(frame, parent), m_edit(new QLineEdit(this))
{
    m_edit->setFrame(false);
    m_edit->setFont(Font::systemFontOfSize(17));
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Text, m_textColor);
    m_edit->setPalette(palette);
    m_edit->installEventFilter(this);
    setFocusProxy(m_edit);
    connect(m_edit, &QLineEdit::textEdited, this,
            [this] { sendActionsForControlEvents(ControlEvent::EditingChanged); });
    connect(m_edit, &QLineEdit::returnPressed, this,
            [this] { sendActionsForControlEvents(ControlEvent::EditingDidEndOnExit); });
    layoutSubviews();
}

QString TextField::text() const
{
    return m_edit->text();
}

void TextField::setText(const QString &text)
{
    m_edit->setText(text);
    if (!m_firstResponder)
        m_edit->home(false);
}

QString TextField::placeholder() const
{
    return m_edit->placeholderText();
}

void TextField::setPlaceholder(const QString &placeholder)
{
    m_edit->setPlaceholderText(placeholder);
    Accessibility::nameChanged(m_edit);
}

QString TextField::shownAccessibilityLabel() const
{
    if (!placeholder().isEmpty())
        return placeholder();
    for (QWidget *w = parentWidget(); w; w = w->parentWidget()) {
        if (auto *cell = qobject_cast<TableViewCell *>(w))
            return Accessibility::textsUnder(cell);
    }
    return {};
}

void TextField::setSecureTextEntry(bool secure)
{
    m_secure = secure;
    m_edit->setEchoMode(secure ? QLineEdit::Password : QLineEdit::Normal);
}

void TextField::setClearButtonMode(TextFieldViewMode mode)
{
    m_clearButtonMode = mode;
    updateClearButton();
}

void TextField::updateClearButton()
{
    const bool shown = m_clearButtonMode == TextFieldViewMode::Always ||
                       (m_clearButtonMode == TextFieldViewMode::WhileEditing && m_firstResponder) ||
                       (m_clearButtonMode == TextFieldViewMode::UnlessEditing && !m_firstResponder);
    m_edit->setClearButtonEnabled(shown);
}

void TextField::setKeyboardType(KeyboardType type)
{
    m_keyboardType = type;
    Qt::InputMethodHints hints = Qt::ImhNone;
    switch (type) {
    case KeyboardType::NumberPad:
        hints = Qt::ImhDigitsOnly;
        break;
    case KeyboardType::PhonePad:
        hints = Qt::ImhDialableCharactersOnly;
        break;
    case KeyboardType::EmailAddress:
        hints = Qt::ImhEmailCharactersOnly;
        break;
    case KeyboardType::URL:
        hints = Qt::ImhUrlCharactersOnly;
        break;
    default:
        break;
    }
    m_edit->setInputMethodHints(hints);
}

QFont TextField::font() const
{
    return m_edit->font();
}

void TextField::setFont(const QFont &font)
{
    m_edit->setFont(font);
}

void TextField::setTextColor(const QColor &color)
{
    m_textColor = color;
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Text, color);
    m_edit->setPalette(palette);
}

void TextField::setTextAlignment(TextAlignment alignment)
{
    m_alignment = alignment;
    applyAlignment();
}

void TextField::setContentVerticalAlignment(ContentVerticalAlignment alignment)
{
    Control::setContentVerticalAlignment(alignment);
    applyAlignment();
}

void TextField::applyAlignment()
{
    const Qt::Alignment horizontal = m_alignment == TextAlignment::Center  ? Qt::AlignHCenter
                                     : m_alignment == TextAlignment::Right ? Qt::AlignRight
                                                                           : Qt::AlignLeft;
    Qt::Alignment vertical = Qt::AlignVCenter;
    if (contentVerticalAlignment() == ContentVerticalAlignment::Top)
        vertical = Qt::AlignTop;
    else if (contentVerticalAlignment() == ContentVerticalAlignment::Bottom)
        vertical = Qt::AlignBottom;
    m_edit->setAlignment(horizontal | vertical);
}

void TextField::setBorderStyle(TextBorderStyle style)
{
    m_borderStyle = style;
    layoutSubviews();
    update();
}

bool TextField::becomeFirstResponder()
{
    if (!isEnabled())
        return false;
    m_edit->setFocus(Qt::OtherFocusReason);
    setFirstResponder(true);
    return true;
}

bool TextField::resignFirstResponder()
{
    if (m_edit->hasFocus())
        m_edit->clearFocus();
    setFirstResponder(false);
    return true;
}

void TextField::setFirstResponder(bool responder)
{
    if (m_firstResponder == responder)
        return;
    m_firstResponder = responder;
    // As on the phone, a field nobody edits shows the beginning of a text too long for it.
    if (!responder)
        m_edit->home(false);
    updateClearButton();
    sendActionsForControlEvents(responder ? ControlEvent::EditingDidBegin
                                          : ControlEvent::EditingDidEnd);
}

bool TextField::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit) {
        if (event->type() == QEvent::FocusIn) {
            setFirstResponder(true);
            update();
        } else if (event->type() == QEvent::FocusOut) {
            update();
            // Losing the window's activation does not end editing; losing the focus does.
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                setFirstResponder(false);
        }
    }
    return Control::eventFilter(watched, event);
}

void TextField::layoutSubviews()
{
    const int inset = m_borderStyle == TextBorderStyle::None ? 0 : kPadding;
    m_edit->setGeometry(rect().adjusted(inset, 0, -inset, 0));
}

void TextField::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintBackground(painter);
    paintFieldBorder(painter);
    if (m_edit->hasFocus())
        FocusRing::paint(painter, QRectF(rect()),
                         m_borderStyle == TextBorderStyle::RoundedRect ? 6 : 0);
}

void TextField::paintFieldBorder(QPainter &painter) const
{
    if (m_borderStyle == TextBorderStyle::None)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = m_borderStyle == TextBorderStyle::RoundedRect ? 6 : 0;
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    if (m_borderStyle == TextBorderStyle::RoundedRect)
        painter.fillPath(path, Color::whiteColor());
    painter.setPen(QPen(m_borderStyle == TextBorderStyle::Line ? Color::blackColor()
                                                               : Color::colorWithWhite(0.6),
                        1));
    painter.drawPath(path);
}

} // namespace ui
