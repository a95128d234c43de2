// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/scrollview.h"

#include "toolkit/animation.h"
#include "toolkit/scrollviewdelegate.h"

#include <QChildEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cmath>
#include <utility>

namespace ui
{

namespace
{
constexpr qreal kDragThreshold = 5;
constexpr qreal kEdgeResistance = 0.5;
constexpr qreal kFlickVelocity = 300; // points per second
constexpr qreal kMomentumSeconds = 0.35;
constexpr int kWheelStep = 40;
} // namespace

// The moving content of a scroll view. It grows to hold its subviews even where they lie past
// the content size (a load-more footer below the last row), so nothing is clipped away.
class ScrollContentWidget final : public QWidget
{
public:
    explicit ScrollContentWidget(ScrollView *owner) : QWidget(owner), m_owner(owner) {}

protected:
    void childEvent(QChildEvent *event) override
    {
        QWidget::childEvent(event);
        if (!m_owner->m_content)
            return;
        if (event->added() && event->child()->isWidgetType())
            event->child()->installEventFilter(this);
        if (event->added() || event->removed())
            m_owner->updateContentGeometry();
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            if (watched->parent() == this && m_owner->m_content)
                m_owner->updateContentGeometry();
            break;
        default:
            break;
        }
        return false;
    }

private:
    ScrollView *m_owner;
};

ScrollView::ScrollView(const QRectF &frame, QWidget *parent)
    : View(frame, parent), m_content(new ScrollContentWidget(this))
{
    m_content->show();
    updateContentGeometry();
}

ScrollView::~ScrollView()
{
    // The content and its subviews go while this is still a scroll view: as they go they
    // report their moves and hides to it.
    delete std::exchange(m_content, nullptr);
}

void ScrollView::setContentOffset(const QPointF &offset, bool animated)
{
    stopAnimation();
    if (!animated) {
        applyOffset(offset);
        return;
    }
    const QPointF from = m_offset;
    m_animation = Animation::animate(
        this, Animation::kDefaultDurationMs,
        [this, from, offset](qreal t) { applyOffset(from + (offset - from) * t); },
        [this] {
            m_animation = nullptr;
            if (m_delegate)
                m_delegate->scrollViewDidEndScrollingAnimation(this);
        });
}

void ScrollView::setContentSize(const QSizeF &size)
{
    m_contentSize = size;
    updateContentGeometry();
}

void ScrollView::setContentInset(const EdgeInsets &inset)
{
    m_inset = inset;
}

void ScrollView::scrollRectToVisible(const QRectF &rect, bool animated)
{
    QPointF target = m_offset;
    const QRectF visible(m_offset, QSizeF(size()));
    if (rect.left() < visible.left() || rect.width() > visible.width())
        target.setX(rect.left());
    else if (rect.right() > visible.right())
        target.setX(rect.right() - visible.width());
    if (rect.top() < visible.top() || rect.height() > visible.height())
        target.setY(rect.top());
    else if (rect.bottom() > visible.bottom())
        target.setY(rect.bottom() - visible.height());
    const QPointF lo = minimumContentOffset();
    const QPointF hi = maximumContentOffset();
    target =
        QPointF(std::clamp(target.x(), lo.x(), hi.x()), std::clamp(target.y(), lo.y(), hi.y()));
    if (target != m_offset)
        setContentOffset(target, animated);
}

QPointF ScrollView::minimumContentOffset() const
{
    return {-m_inset.left, -m_inset.top};
}

QPointF ScrollView::maximumContentOffset() const
{
    const QPointF lo = minimumContentOffset();
    return {std::max(lo.x(), m_contentSize.width() + m_inset.right - width()),
            std::max(lo.y(), m_contentSize.height() + m_inset.bottom - height())};
}

bool ScrollView::canScrollHorizontally() const
{
    return m_alwaysBounceHorizontal || maximumContentOffset().x() > minimumContentOffset().x();
}

bool ScrollView::canScrollVertically() const
{
    return m_alwaysBounceVertical || maximumContentOffset().y() > minimumContentOffset().y();
}

void ScrollView::beginDragging()
{
    if (m_dragging)
        return;
    stopAnimation();
    m_decelerating = false;
    m_dragging = true;
    m_velocity = {};
    m_dragStartOffset = m_offset;
    if (m_delegate)
        m_delegate->scrollViewWillBeginDragging(this);
}

void ScrollView::dragTo(const QPointF &offset)
{
    if (!m_dragging)
        beginDragging();
    applyOffset(resisted(offset));
}

void ScrollView::endDragging()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    const QPointF goal = projectedOffset(m_offset, m_velocity);
    if (m_delegate)
        m_delegate->scrollViewDidEndDragging(this, clampedOffset(goal) != m_offset);
    // The delegate may have just changed the insets (a load-more footer holds itself open
    // below the content while it loads), so the resting offset is only taken now.
    settle(goal);
}

void ScrollView::pullPastEnd()
{
    beginDragging();
    // The edge resists: the finger goes twice as far as the content follows.
    dragTo(maximumContentOffset() + QPointF(0, kKeyboardPull / kEdgeResistance));
    endDragging();
}

void ScrollView::settle(const QPointF &goal)
{
    // The delegate may have started a drag or an animation of its own: that one wins.
    if (m_dragging || m_animation || clampedOffset(goal) == m_offset)
        return;
    m_decelerating = true;
    if (m_delegate)
        m_delegate->scrollViewWillBeginDecelerating(this);
    if (m_dragging || m_animation || !m_decelerating)
        return;
    const QPointF from = m_offset;
    // The bounds are read on every step: an inset that is still opening while the content
    // settles moves the resting offset with it.
    m_animation = Animation::animate(
        this, Animation::kDefaultDurationMs,
        [this, from, goal](qreal t) { applyOffset(from + (clampedOffset(goal) - from) * t); },
        [this] {
            m_decelerating = false;
            m_animation = nullptr;
            if (m_delegate)
                m_delegate->scrollViewDidEndDecelerating(this);
        });
}

QPointF ScrollView::resisted(const QPointF &offset) const
{
    const QPointF lo = minimumContentOffset();
    const QPointF hi = maximumContentOffset();
    auto axis = [this](qreal v, qreal min, qreal max, bool scrollable, qreal current) {
        if (!scrollable)
            return current;
        if (v < min)
            return m_bounces ? min - (min - v) * kEdgeResistance : min;
        if (v > max)
            return m_bounces ? max + (v - max) * kEdgeResistance : max;
        return v;
    };
    return {axis(offset.x(), lo.x(), hi.x(), canScrollHorizontally(), m_offset.x()),
            axis(offset.y(), lo.y(), hi.y(), canScrollVertically(), m_offset.y())};
}

QPointF ScrollView::clampedOffset(const QPointF &offset) const
{
    const QPointF lo = minimumContentOffset();
    const QPointF hi = maximumContentOffset();
    return {std::clamp(offset.x(), lo.x(), hi.x()), std::clamp(offset.y(), lo.y(), hi.y())};
}

QPointF ScrollView::projectedOffset(const QPointF &offset, const QPointF &velocity) const
{
    const QPointF lo = minimumContentOffset();
    const QPointF hi = maximumContentOffset();
    auto axis = [this](qreal v, qreal speed, qreal min, qreal max, qreal page) {
        if (m_paging && page > 0) {
            const qreal position = v / page;
            qreal index = std::round(position);
            if (speed > kFlickVelocity)
                index = std::ceil(position);
            else if (speed < -kFlickVelocity)
                index = std::floor(position);
            v = index * page;
        } else if (std::abs(speed) > kFlickVelocity && v >= min && v <= max) {
            v += speed * kMomentumSeconds;
        }
        return v;
    };
    return {axis(offset.x(), velocity.x(), lo.x(), hi.x(), width()),
            axis(offset.y(), velocity.y(), lo.y(), hi.y(), height())};
}

void ScrollView::applyOffset(const QPointF &offset)
{
    if (offset == m_offset)
        return;
    m_offset = offset;
    m_content->move(-int(std::lround(offset.x())), -int(std::lround(offset.y())));
    contentOffsetDidChange();
    if (m_delegate)
        m_delegate->scrollViewDidScroll(this);
}

void ScrollView::stopAnimation()
{
    if (m_animation)
        m_animation->stop();
    m_animation = nullptr;
    // A stopped animation never reports its end: whatever it was doing is over now.
    m_decelerating = false;
}

void ScrollView::updateContentGeometry()
{
    if (!m_content)
        return;
    int w = std::max(width(), int(std::ceil(m_contentSize.width())));
    int h = std::max(height(), int(std::ceil(m_contentSize.height())));
    const QRect children = m_content->childrenRect();
    if (!children.isNull()) {
        w = std::max(w, children.right() + 1);
        h = std::max(h, children.bottom() + 1);
    }
    if (m_content->size() != QSize(w, h))
        m_content->resize(w, h);
}

void ScrollView::resizeEvent(QResizeEvent *event)
{
    View::resizeEvent(event);
    updateContentGeometry();
}

bool ScrollView::shouldBeginDragging(const QPointF &delta) const
{
    return (canScrollHorizontally() && std::abs(delta.x()) > kDragThreshold) ||
           (canScrollVertically() && std::abs(delta.y()) > kDragThreshold);
}

void ScrollView::mousePressEvent(QMouseEvent *event)
{
    // Taken even with scrolling off: a table that does not scroll still selects rows.
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    if (m_decelerating) {
        stopAnimation();
        m_decelerating = false;
    }
    m_tracking = true;
    m_pressPos = event->globalPosition();
    m_lastMovePos = m_pressPos;
    m_moveClock.start();
}

bool ScrollView::takeOverTouch(const QPointF &pressGlobal, const QPointF &globalPos)
{
    if (m_tracking || m_dragging || !m_scrollEnabled || !isVisible() ||
        !shouldBeginDragging(globalPos - pressGlobal))
        return false;
    stopAnimation();
    m_tracking = true;
    m_pressPos = pressGlobal;
    m_lastMovePos = pressGlobal;
    m_moveClock.start();
    touchMoved(globalPos);
    return true;
}

void ScrollView::touchMoved(const QPointF &pos)
{
    if (!m_tracking)
        return;
    if (!m_dragging) {
        if (!m_scrollEnabled || !shouldBeginDragging(pos - m_pressPos))
            return;
        beginDragging();
        m_pressPos = pos;
    }
    const qreal seconds = std::max<qint64>(1, m_moveClock.restart()) / 1000.0;
    m_velocity = -(pos - m_lastMovePos) / seconds;
    m_lastMovePos = pos;
    // The finger asks for the start offset moved against its motion; the edges resist.
    const QPointF wanted = m_dragStartOffset - (pos - m_pressPos);
    applyOffset(resisted(wanted));
}

bool ScrollView::touchEnded()
{
    if (!m_tracking)
        return false;
    m_tracking = false;
    if (!m_dragging)
        return false;
    if (m_moveClock.elapsed() > 100)
        m_velocity = {}; // the finger rested before lifting
    endDragging();
    return true;
}

void ScrollView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_tracking) {
        event->ignore();
        return;
    }
    touchMoved(event->globalPosition());
}

void ScrollView::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_tracking) {
        event->ignore();
        return;
    }
    if (!touchEnded())
        handleTap(m_content->mapFromGlobal(event->globalPosition()));
}

void ScrollView::wheelEvent(QWheelEvent *event)
{
    if (!m_scrollEnabled) {
        event->ignore();
        return;
    }
    event->accept();
    QPointF delta = event->pixelDelta();
    if (delta.isNull())
        delta = QPointF(event->angleDelta()) / 120.0 * kWheelStep;
    const QPointF lo = minimumContentOffset();
    const QPointF hi = maximumContentOffset();
    QPointF target = m_offset - delta;
    if (m_paging) {
        const qreal dx = delta.x() == 0 ? 0 : (delta.x() < 0 ? width() : -width());
        const qreal dy = delta.y() == 0 ? 0 : (delta.y() < 0 ? height() : -height());
        target = m_offset + QPointF(dx, dy);
    }
    target =
        QPointF(std::clamp(target.x(), lo.x(), hi.x()), std::clamp(target.y(), lo.y(), hi.y()));
    setContentOffset(target, m_paging);
}

} // namespace ui
