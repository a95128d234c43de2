// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/button.h"

#include "toolkit/color.h"
#include "toolkit/focusring.h"
#include "toolkit/font.h"
#include "toolkit/imageview.h"
#include "toolkit/label.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

namespace ui
{

namespace
{

template <typename T> T forState(const QMap<ControlState, T> &map, ControlState state)
{
    const auto it = map.constFind(state);
    if (it != map.constEnd())
        return *it;
    return map.value(ControlState::Normal);
}

template <typename T>
void store(QMap<ControlState, T> &map, ControlState state, const T &value, bool remove)
{
    if (remove)
        map.remove(state);
    else
        map.insert(state, value);
}

} // namespace

Button::Button(ButtonType type, const QRectF &frame, QWidget *parent)
    : Control(frame, parent), m_type(type), m_titleLabel(new Label)
{
    m_titleLabel->setUserInteractionEnabled(false);
    setFocusPolicy(Qt::TabFocus);
    // The button reads its title as part of its name.
    setAccessibilityElementsHidden(true);
    m_titleLabel->setTextAlignment(TextAlignment::Center);
    if (type == ButtonType::RoundedRect) {
        m_titleLabel->setFont(Font::boldSystemFontOfSize(15));
        m_titleColors.insert(ControlState::Normal, Color::colorWithRed(0.2, 0.31, 0.52));
        m_titleColors.insert(ControlState::Highlighted, Color::whiteColor());
    } else {
        m_titleLabel->setFont(Font::boldSystemFontOfSize(15));
        m_titleColors.insert(ControlState::Normal, Color::whiteColor());
    }
    m_titleColors.insert(ControlState::Disabled, Color::grayColor());
    addSubview(m_titleLabel);
    refresh();
}

void Button::setTitle(const QString &title, ControlState state)
{
    store(m_titles, state, title, title.isNull());
    refresh();
}

QString Button::titleForState(ControlState state) const
{
    return forState(m_titles, state);
}

void Button::setTitleColor(const QColor &color, ControlState state)
{
    store(m_titleColors, state, color, !color.isValid());
    refresh();
}

QColor Button::titleColorForState(ControlState state) const
{
    return forState(m_titleColors, state);
}

void Button::setImage(const Image &image, ControlState state)
{
    store(m_images, state, image, image.isNull());
    refresh();
}

Image Button::imageForState(ControlState state) const
{
    return forState(m_images, state);
}

void Button::setBackgroundImage(const Image &image, ControlState state)
{
    store(m_backgroundImages, state, image, image.isNull());
    refresh();
}

Image Button::backgroundImageForState(ControlState state) const
{
    return forState(m_backgroundImages, state);
}

void Button::setEnabled(bool enabled)
{
    Control::setEnabled(enabled);
    refresh();
}

void Button::setSelected(bool selected)
{
    Control::setSelected(selected);
    refresh();
}

void Button::setHighlighted(bool highlighted)
{
    Control::setHighlighted(highlighted);
    refresh();
}

void Button::refresh()
{
    m_titleLabel->setText(currentTitle());
    m_titleLabel->setTextColor(titleColorForState(state()));
    layoutSubviews();
    update();
    if (QAccessible::isActive()) {
        // A new picture renames the button as a new title does.
        const QString label = accessibilityLabel();
        if (label != m_announcedLabel) {
            m_announcedLabel = label;
            accessibilityLabelDidChange();
        }
    }
}

QString Button::shownAccessibilityLabel() const
{
    QStringList parts;
    for (const Image &picture : {currentImage(), currentBackgroundImage()}) {
        if (!picture.accessibilityLabel().isEmpty())
            parts.append(picture.accessibilityLabel());
    }
    if (parts.isEmpty())
        parts = picturesBeneath();
    const QString title = currentTitle().simplified();
    if (!title.isEmpty() && !parts.contains(title))
        parts.append(title);
    return parts.join(u' ');
}

QStringList Button::picturesBeneath() const
{
    QStringList found;
    const View *container = superview();
    const bool clear = !backgroundColor().isValid() || backgroundColor().alpha() == 0;
    if (!container || !clear || !currentBackgroundImage().isNull())
        return found;
    const QRect area(mapTo(window(), QPoint(0, 0)), size());
    const QList<ImageView *> pictures = container->findChildren<ImageView *>();
    for (const ImageView *picture : pictures) {
        const QRect shown(picture->mapTo(window(), QPoint(0, 0)), picture->size());
        const QString label = picture->accessibilityLabel();
        if (picture->isVisibleTo(container) && !label.isEmpty() && area.contains(shown.center()))
            found.append(label);
    }
    return found;
}

void Button::addAccessibilityStates(QAccessible::State &state) const
{
    state.pressed = isHighlighted();
}

bool Button::accessibilityActivate()
{
    if (!isEnabled())
        return false;
    sendActionsForControlEvents(ControlEvent::TouchUpInside);
    return true;
}

void Button::layoutSubviews()
{
    // The image sits left of the title; both are centred together.
    const Image image = currentImage();
    const qreal imageW = image.isNull() ? 0 : std::min(image.size().width(), width() / 2.0);
    const QRectF title(imageW, 0, std::max(0.0, width() - 2 * imageW), height());
    m_titleLabel->setFrame(title);
}

void Button::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (hasFocus() && isEnabled() &&
        (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        // Pressed once: a second key must not press it again behind what the press started.
        clearFocus();
        sendActionsForControlEvents(ControlEvent::TouchUpInside);
        return;
    }
    Control::keyPressEvent(event);
}

void Button::focusInEvent(QFocusEvent *event)
{
    Control::focusInEvent(event);
    update();
}

void Button::focusOutEvent(QFocusEvent *event)
{
    Control::focusOutEvent(event);
    update();
}

void Button::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintBackground(painter);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(bounds()).adjusted(0.5, 0.5, -0.5, -0.5);
    const Image background = currentBackgroundImage();
    if (!background.isNull()) {
        background.draw(painter, bounds());
        paintBorder(painter);
    } else if (m_type == ButtonType::RoundedRect) {
        QPainterPath path;
        path.addRoundedRect(r, 9, 9);
        painter.fillPath(path, isHighlighted() ? Color::selectionBlueColor() : Color::whiteColor());
        // The keyboard's button shows a blue ring, as the selection does.
        painter.setPen(hasFocus() ? QPen(Color::selectionBlueColor(), 2)
                                  : QPen(Color::colorWithWhite(0.6), 1));
        painter.drawPath(path);
    }
    const Image image = currentImage();
    if (!image.isNull()) {
        QRectF target(QPointF(0, 0), image.size().boundedTo(bounds().size()));
        target.moveCenter(QPointF(
            m_titleLabel->text().isEmpty() ? width() / 2.0 : target.width() / 2.0, height() / 2.0));
        image.draw(painter, target);
    }
    if (hasFocus())
        FocusRing::paint(painter, bounds(),
                         m_type == ButtonType::RoundedRect ? 9 : layer().cornerRadius());
}

} // namespace ui
