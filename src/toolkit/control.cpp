// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/control.h"

#include "toolkit/scrollview.h"

#include <QMouseEvent>
#include <QPointer>

namespace ui
{

Control::Control(const QRectF &frame, QWidget *parent) : View(frame, parent) {}

void Control::addTarget(Action action, ControlEvents events)
{
    if (action)
        m_targets.push_back({events, std::move(action)});
}

void Control::addTarget(std::function<void()> action, ControlEvents events)
{
    if (action)
        addTarget(Action([action = std::move(action)](Control *) { action(); }), events);
}

void Control::removeAllTargets()
{
    m_targets.clear();
}

void Control::sendActionsForControlEvents(ControlEvents events)
{
    // Work on a copy: an action may add targets, or release this control.
    const std::vector<Target> targets = m_targets;
    QPointer<Control> self(this);
    for (const Target &target : targets) {
        if (!(target.events & events))
            continue;
        target.action(this);
        if (!self)
            return;
    }
    Q_EMIT actionsSent(events);
}

void Control::setEnabled(bool enabled)
{
    m_enabled = enabled;
    QWidget::setEnabled(enabled);
    update();
}

void Control::setSelected(bool selected)
{
    m_selected = selected;
    update();
}

void Control::setHighlighted(bool highlighted)
{
    m_highlighted = highlighted;
    update();
}

ControlState Control::state() const
{
    if (!m_enabled)
        return ControlState::Disabled;
    if (m_highlighted)
        return ControlState::Highlighted;
    if (m_selected)
        return ControlState::Selected;
    return ControlState::Normal;
}

void Control::cancelTracking()
{
    if (!m_tracking)
        return;
    m_tracking = false;
    setHighlighted(false);
    sendActionsForControlEvents(ControlEvent::TouchCancel);
}

void Control::setContentVerticalAlignment(ContentVerticalAlignment alignment)
{
    m_verticalAlignment = alignment;
    update();
}

void Control::mousePressEvent(QMouseEvent *event)
{
    if (!m_enabled || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    m_tracking = true;
    m_handedOver = nullptr;
    m_pressGlobal = event->globalPosition();
    setHighlighted(true);
    sendActionsForControlEvents(ControlEvent::TouchDown);
}

bool Control::handOverToScrollView(const QPointF &globalPos)
{
    // The nearest enclosing scroll view that would scroll this way takes the touch.
    for (QWidget *ancestor = parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        auto *scroll = qobject_cast<ScrollView *>(ancestor);
        if (scroll && scroll->takeOverTouch(m_pressGlobal, globalPos)) {
            m_handedOver = scroll;
            cancelTracking();
            return true;
        }
    }
    return false;
}

void Control::mouseMoveEvent(QMouseEvent *event)
{
    // The touch stays with this widget as far as Qt is concerned: pass it on.
    if (m_handedOver) {
        m_handedOver->touchMoved(event->globalPosition());
        return;
    }
    if (!m_tracking) {
        event->ignore();
        return;
    }
    if (handOverToScrollView(event->globalPosition()))
        return;
    const bool inside = rect().contains(event->position().toPoint());
    if (inside != m_highlighted)
        setHighlighted(inside);
    sendActionsForControlEvents(inside ? ControlEvent::TouchDragInside
                                       : ControlEvent::TouchDragOutside);
}

void Control::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_handedOver) {
        QPointer<ScrollView> scroll = m_handedOver;
        m_handedOver = nullptr;
        scroll->touchEnded();
        return;
    }
    if (!m_tracking) {
        event->ignore();
        return;
    }
    m_tracking = false;
    const bool inside = rect().contains(event->position().toPoint());
    setHighlighted(false);
    sendActionsForControlEvents(inside ? ControlEvent::TouchUpInside
                                       : ControlEvent::TouchUpOutside);
}

} // namespace ui
