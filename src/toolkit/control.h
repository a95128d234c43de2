// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/view.h"

#include <QFlags>
#include <QPointer>

#include <functional>
#include <vector>

namespace ui
{

class ScrollView;

enum class ControlEvent : unsigned {
    TouchDown = 1u << 0,
    TouchDragInside = 1u << 2,
    TouchDragOutside = 1u << 3,
    TouchUpInside = 1u << 6,
    TouchUpOutside = 1u << 7,
    TouchCancel = 1u << 8,
    ValueChanged = 1u << 12,
    EditingDidBegin = 1u << 16,
    EditingChanged = 1u << 17,
    EditingDidEnd = 1u << 18,
    EditingDidEndOnExit = 1u << 19,
};
Q_DECLARE_FLAGS(ControlEvents, ControlEvent)
Q_DECLARE_OPERATORS_FOR_FLAGS(ControlEvents)

enum class ControlState : unsigned {
    Normal = 0,
    Highlighted = 1u << 0,
    Disabled = 1u << 1,
    Selected = 1u << 2,
};

enum class ContentVerticalAlignment { Center = 0, Top = 1, Bottom = 2, Fill = 3 };

// A view that turns touches into actions: target-action pairs registered per event, run in
// the order they were added. Tracks the highlighted state while a touch is down on it. A touch
// that moves past a small threshold inside a scroll view becomes that view's drag: the
// control's tracking is cancelled and no touch-up is reported.
class Control : public View
{
    Q_OBJECT

public:
    using Action = std::function<void(Control *sender)>;

    explicit Control(const QRectF &frame = {}, QWidget *parent = nullptr);

    void addTarget(Action action, ControlEvents events);
    void addTarget(std::function<void()> action, ControlEvents events);
    void removeAllTargets();
    // Runs the actions registered for any of the events. The control may be released by an
    // action; the remaining actions are then skipped.
    void sendActionsForControlEvents(ControlEvents events);

    bool isEnabled() const { return m_enabled; }
    virtual void setEnabled(bool enabled);
    bool isSelected() const { return m_selected; }
    virtual void setSelected(bool selected);
    bool isHighlighted() const { return m_highlighted; }
    virtual void setHighlighted(bool highlighted);
    ControlState state() const;
    bool isTracking() const { return m_tracking; }
    // A touch that began here was taken over (by a scroll view starting to drag).
    void cancelTracking();

    ContentVerticalAlignment contentVerticalAlignment() const { return m_verticalAlignment; }
    virtual void setContentVerticalAlignment(ContentVerticalAlignment alignment);

Q_SIGNALS:
    void actionsSent(ui::ControlEvents events);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool handOverToScrollView(const QPointF &globalPos);

    struct Target {
        ControlEvents events;
        Action action;
    };
    std::vector<Target> m_targets;
    // A touch that began here and that a scroll view took over (it is dragging the content).
    QPointer<ScrollView> m_handedOver;
    QPointF m_pressGlobal;
    ContentVerticalAlignment m_verticalAlignment = ContentVerticalAlignment::Center;
    bool m_enabled = true;
    bool m_selected = false;
    bool m_highlighted = false;
    bool m_tracking = false;
};

} // namespace ui
