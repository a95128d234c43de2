// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/edgeinsets.h"
#include "toolkit/scrollviewdelegate.h"
#include "toolkit/view.h"
#include "toolkit/weakdelegate.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QVariantAnimation>

namespace ui
{

// A viewport onto content larger than itself. Subviews go into a content widget that moves
// by minus the content offset, so a subview's frame is in content coordinates. Dragging moves
// the content; past the edges it follows the finger at half speed when bounces is on (a
// pull-down gives a negative offset) and springs back on release; with paging it settles on
// a whole page. The drag is also driven programmatically (beginDragging, dragTo, endDragging),
// which is what the mouse handling itself uses. The bounds' origin stays at zero here.
class ScrollView : public View
{
    Q_OBJECT

public:
    explicit ScrollView(const QRectF &frame = {}, QWidget *parent = nullptr);
    ~ScrollView() override;

    // Held weakly: a delegate that is gone reads as none.
    ScrollViewDelegate *delegate() const { return m_delegate.get(); }
    void setDelegate(ScrollViewDelegate *delegate) { m_delegate = delegate; }

    QPointF contentOffset() const { return m_offset; }
    void setContentOffset(const QPointF &offset, bool animated = false);
    QSizeF contentSize() const { return m_contentSize; }
    void setContentSize(const QSizeF &size);
    EdgeInsets contentInset() const { return m_inset; }
    void setContentInset(const EdgeInsets &inset);
    void scrollRectToVisible(const QRectF &rect, bool animated);

    bool isPagingEnabled() const { return m_paging; }
    void setPagingEnabled(bool enabled) { m_paging = enabled; }
    bool bounces() const { return m_bounces; }
    void setBounces(bool bounces) { m_bounces = bounces; }
    bool alwaysBounceVertical() const { return m_alwaysBounceVertical; }
    void setAlwaysBounceVertical(bool always) { m_alwaysBounceVertical = always; }
    bool alwaysBounceHorizontal() const { return m_alwaysBounceHorizontal; }
    void setAlwaysBounceHorizontal(bool always) { m_alwaysBounceHorizontal = always; }
    bool isScrollEnabled() const { return m_scrollEnabled; }
    void setScrollEnabled(bool enabled) { m_scrollEnabled = enabled; }
    bool showsHorizontalScrollIndicator() const { return m_showsHorizontal; }
    void setShowsHorizontalScrollIndicator(bool shows) { m_showsHorizontal = shows; }
    bool showsVerticalScrollIndicator() const { return m_showsVertical; }
    void setShowsVerticalScrollIndicator(bool shows) { m_showsVertical = shows; }

    bool isTracking() const { return m_tracking; }
    bool isDragging() const { return m_dragging; }
    bool isDecelerating() const { return m_decelerating; }

    // The drag, as the finger gives it: dragTo takes the offset the finger asks for, before
    // the edges resist. endDragging settles (paging, spring-back) and reports it.
    void beginDragging();
    void dragTo(const QPointF &offset);
    void endDragging();
    // The keyboard's stand-in for a finger that pulls the content up past its end and lets go
    // (what asks a list for more): a whole drag, reported as a finger's is.
    void pullPastEnd();
    // How far past the end that pull goes.
    static constexpr qreal kKeyboardPull = 100;

    // A touch that went down on a control inside the content and has moved to globalPos: past
    // the drag threshold the scroll view takes it over (true) and from then on hears of it
    // through touchMoved and touchEnded; the control cancels its own tracking.
    bool takeOverTouch(const QPointF &pressGlobal, const QPointF &globalPos);
    void touchMoved(const QPointF &globalPos);
    // True when the touch ended a drag (rather than a tap).
    bool touchEnded();

    // The smallest and largest resting offsets, insets included.
    QPointF minimumContentOffset() const;
    QPointF maximumContentOffset() const;
    QWidget *contentView() const { return m_content; }

protected:
    QWidget *subviewContainer() override { return m_content; }
    // Called after every change of the offset, before the delegate hears of it.
    virtual void contentOffsetDidChange() {}
    // Whether a touch that moved this far (since it went down) starts a drag.
    virtual bool shouldBeginDragging(const QPointF &delta) const;
    // A touch that went down and up without dragging, in content coordinates.
    virtual void handleTap(const QPointF &) {}
    void updateContentGeometry();

    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    friend class ScrollContentWidget;
    void applyOffset(const QPointF &offset);
    void stopAnimation();
    QPointF resisted(const QPointF &offset) const;
    // Where a release at offset with velocity heads (a whole page when paging), before the
    // bounds are applied; clampedOffset applies the bounds as they are at that moment.
    QPointF projectedOffset(const QPointF &offset, const QPointF &velocity) const;
    QPointF clampedOffset(const QPointF &offset) const;
    void settle(const QPointF &goal);
    bool canScrollHorizontally() const;
    bool canScrollVertically() const;

    QWidget *m_content;
    WeakDelegate<ScrollViewDelegate> m_delegate;
    QPointF m_offset;
    QSizeF m_contentSize;
    EdgeInsets m_inset;
    QPointer<QVariantAnimation> m_animation;
    QPointF m_pressPos;
    QPointF m_dragStartOffset;
    QPointF m_velocity;
    QPointF m_lastMovePos;
    QElapsedTimer m_moveClock;
    bool m_paging = false;
    bool m_bounces = true;
    bool m_alwaysBounceVertical = false;
    bool m_alwaysBounceHorizontal = false;
    bool m_scrollEnabled = true;
    bool m_showsHorizontal = true;
    bool m_showsVertical = true;
    bool m_tracking = false;
    bool m_dragging = false;
    bool m_decelerating = false;
};

} // namespace ui
