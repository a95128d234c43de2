// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/view.h"

#include "toolkit/accessibility.h"

#include <QCoreApplication>
#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QResizeEvent>

namespace ui
{

void Layer::setBorderWidth(qreal width)
{
    m_borderWidth = width;
    m_view->update();
}

void Layer::setBorderColor(const QColor &color)
{
    m_borderColor = color;
    m_view->update();
}

void Layer::setCornerRadius(qreal radius)
{
    m_cornerRadius = radius;
    m_view->applyMask();
    m_view->update();
}

void Layer::setMasksToBounds(bool masks)
{
    m_masksToBounds = masks;
    m_view->applyMask();
}

View::View(const QRectF &frame, QWidget *parent) : QWidget(parent), m_layer(this)
{
    setFrame(frame);
}

View::~View() = default;

void View::setFrame(const QRectF &frame)
{
    m_frame = frame;
    setGeometry(frame.toRect());
}

void View::setBackgroundColor(const QColor &color)
{
    m_backgroundColor = color;
    update();
}

void View::setAlpha(qreal alpha)
{
    m_alpha = std::clamp(alpha, 0.0, 1.0);
    if (m_alpha >= 1.0) {
        setGraphicsEffect(nullptr);
        return;
    }
    auto *effect = qobject_cast<QGraphicsOpacityEffect *>(graphicsEffect());
    if (!effect) {
        effect = new QGraphicsOpacityEffect(this);
        setGraphicsEffect(effect);
    }
    effect->setOpacity(m_alpha);
}

void View::setHidden(bool hidden)
{
    m_hidden = hidden;
    // A view without a superview is never shown on its own: it would become a window.
    if (parentWidget())
        QWidget::setVisible(!hidden);
}

bool View::event(QEvent *event)
{
    // Qt shows a child together with its parent unless the child was hidden explicitly. A view
    // hidden while it had no superview could only note it, so the hiding is applied the moment
    // it gets a parent, whichever way it is attached.
    if (event->type() == QEvent::ParentChange && m_hidden && parentWidget())
        QWidget::setVisible(false);
    if (event->type() == QEvent::Show)
        Accessibility::shown(this);
    return QWidget::event(event);
}

void View::setUserInteractionEnabled(bool enabled)
{
    m_userInteraction = enabled;
    setAttribute(Qt::WA_TransparentForMouseEvents, !enabled);
}

void View::attachTo(QWidget *container)
{
    if (parentWidget() != container)
        setParent(container);
    if (!m_hidden)
        show();
}

void View::addSubview(View *view)
{
    if (!view || view == this)
        return;
    view->attachTo(subviewContainer());
    view->raise();
}

void View::insertSubviewAtIndex(View *view, int index)
{
    if (!view || view == this)
        return;
    const QList<View *> current = subviews();
    view->attachTo(subviewContainer());
    if (index < current.size() && current.at(index) != view)
        view->stackUnder(current.at(index));
    else
        view->raise();
}

void View::bringSubviewToFront(View *view)
{
    if (view && view->parentWidget() == subviewContainer())
        view->raise();
}

void View::sendSubviewToBack(View *view)
{
    if (view && view->parentWidget() == subviewContainer())
        view->lower();
}

void View::removeFromSuperview()
{
    if (!parentWidget())
        return;
    QWidget::hide();
    setParent(nullptr);
    // The superview held the view; unless somebody adds it again before the event loop runs,
    // it goes the way a released view goes.
    QPointer<View> self(this);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [self] {
            if (self && !self->parentWidget())
                delete self.data();
        },
        Qt::QueuedConnection);
}

QList<View *> View::subviews() const
{
    QList<View *> result;
    const QObjectList &kids = const_cast<View *>(this)->subviewContainer()->children();
    for (QObject *child : kids) {
        if (auto *view = qobject_cast<View *>(child))
            result.append(view);
    }
    return result;
}

View *View::superview() const
{
    QWidget *parent = parentWidget();
    if (!parent)
        return nullptr;
    if (auto *view = qobject_cast<View *>(parent))
        return view;
    // The private content widget of a scroll view: the scroll view is the superview.
    return qobject_cast<View *>(parent->parentWidget());
}

View *View::viewWithTag(int tag)
{
    if (m_tag == tag)
        return this;
    for (View *child : subviews()) {
        if (View *found = child->viewWithTag(tag))
            return found;
    }
    return nullptr;
}

QPointF View::convertPointToView(const QPointF &point, const QWidget *view) const
{
    const QPointF global = mapToGlobal(point);
    return view ? view->mapFromGlobal(global) : global;
}

QString View::accessibilityLabel() const
{
    return m_accessibilityLabel.isEmpty() ? shownAccessibilityLabel() : m_accessibilityLabel;
}

void View::setAccessibilityLabel(const QString &label)
{
    if (label == m_accessibilityLabel)
        return;
    m_accessibilityLabel = label;
    accessibilityLabelDidChange();
}

QAccessible::Role View::accessibilityRole() const
{
    return m_accessibilityLabel.isEmpty() ? QAccessible::Client : QAccessible::StaticText;
}

bool View::isAccessibilityElement() const
{
    if (m_accessibilityElement)
        return *m_accessibilityElement;
    const QAccessible::Role role = accessibilityRole();
    if (role == QAccessible::Client)
        return false;
    // Controls are elements even unnamed (that is a fault to find); texts, pictures and bars
    // only when they have something to say (a bar's buttons are read without it).
    if (role == QAccessible::StaticText || role == QAccessible::Graphic ||
        role == QAccessible::ToolBar)
        return !accessibilityLabel().isEmpty();
    return true;
}

void View::setIsAccessibilityElement(bool element)
{
    m_accessibilityElement = element;
}

void View::accessibilityLabelDidChange()
{
    Accessibility::nameChanged(this);
}

bool View::canBecomeFocused() const
{
    return (focusPolicy() & Qt::TabFocus) && isEnabled();
}

void View::setNeedsLayout()
{
    if (m_layoutPending)
        return;
    m_layoutPending = true;
    QMetaObject::invokeMethod(this, &View::layoutIfNeeded, Qt::QueuedConnection);
}

void View::layoutIfNeeded()
{
    if (!m_layoutPending)
        return;
    m_layoutPending = false;
    layoutSubviews();
}

void View::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintBackground(painter);
}

void View::paintBackground(QPainter &painter) const
{
    const QRectF rect(QPointF(0, 0), QSizeF(size()));
    const qreal radius = m_layer.cornerRadius();
    painter.setRenderHint(QPainter::Antialiasing, radius > 0);
    if (m_backgroundColor.isValid() && m_backgroundColor.alpha() > 0) {
        if (radius > 0) {
            QPainterPath path;
            path.addRoundedRect(rect, radius, radius);
            painter.fillPath(path, m_backgroundColor);
        } else {
            painter.fillRect(rect, m_backgroundColor);
        }
    }
    paintBorder(painter);
}

void View::paintBorder(QPainter &painter) const
{
    const qreal border = m_layer.borderWidth();
    if (border <= 0)
        return;
    const QRectF rect(QPointF(0, 0), QSizeF(size()));
    const qreal radius = m_layer.cornerRadius();
    painter.setRenderHint(QPainter::Antialiasing, radius > 0);
    painter.setPen(QPen(m_layer.borderColor(), border));
    painter.setBrush(Qt::NoBrush);
    const qreal half = border / 2;
    painter.drawRoundedRect(rect.adjusted(half, half, -half, -half), radius, radius);
}

void View::applyMask()
{
    if (m_layer.masksToBounds() && m_layer.cornerRadius() > 0) {
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()), m_layer.cornerRadius(), m_layer.cornerRadius());
        setMask(QRegion(path.toFillPolygon().toPolygon()));
    } else {
        clearMask();
    }
}

void View::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (geometry() != m_frame.toRect())
        m_frame = QRectF(geometry());
    applyMask();
    layoutSubviews();
}

void View::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    if (geometry() != m_frame.toRect())
        m_frame = QRectF(geometry());
}

} // namespace ui
