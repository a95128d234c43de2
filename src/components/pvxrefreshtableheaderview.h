// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "components/pvxrefreshtableheaderdelegate.h"

#include "toolkit/edgeinsets.h"
#include "toolkit/view.h"
#include "toolkit/weakdelegate.h"

#include <QDateTime>
#include <QPointer>
#include <QVariantAnimation>

namespace ui
{
class ActivityIndicatorView;
class ImageView;
class Label;
class ScrollView;
} // namespace ui

// The states of the load-more header. A plain 32-bit enumeration: a value outside the three
// is stored as it is and changes nothing on screen.
enum PvxRefreshHeaderState : qint32 {
    PvxRefreshHeaderPulling = 0,
    PvxRefreshHeaderNormal = 1,
    PvxRefreshHeaderLoading = 2,
};

// The load-more header placed below the last row of a list. It owns its arrow, status text,
// spinner and last-updated line and the three-state machine that turns "drag the list up past
// its end and let go" into one trigger for its delegate. It neither scrolls nor loads: the
// owner forwards its scroll events here and says when loading is over, and the header only
// adjusts the scroll view's bottom inset so that it stays in sight while loading.
class PvxRefreshTableHeaderView final : public ui::View
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PvxRefreshTableHeaderView)

public:
    // How far, in points, the visible bottom must pass the end of the content to arm and to
    // trigger, and the bottom inset held while loading.
    static constexpr qreal kThreshold = 65;
    static constexpr int kArrowTurnMs = 180;
    static constexpr int kInsetOpenMs = 200;
    static constexpr int kInsetCloseMs = 300;
    // The user-defaults key under which the last-updated line is written.
    static const QString kLastRefreshKey;

    explicit PvxRefreshTableHeaderView(const QRectF &frame, QWidget *parent = nullptr);

    // Held weakly: a delegate that is gone reads as none.
    PvxRefreshTableHeaderDelegate *delegate() const { return m_delegate.get(); }
    void setDelegate(PvxRefreshTableHeaderDelegate *delegate) { m_delegate = delegate; }

    PvxRefreshHeaderState state() const { return m_state; }
    void setState(PvxRefreshHeaderState state);
    void refreshLastUpdatedDate();

    void pvxRefreshScrollViewDidScroll(ui::ScrollView *scrollView);
    void pvxRefreshScrollViewDidEndDragging(ui::ScrollView *scrollView);
    void pvxRefreshScrollViewDataSourceDidFinishedLoading(ui::ScrollView *scrollView);

    ui::Label *lastUpdatedLabel() const { return m_lastUpdatedLabel; }
    ui::Label *statusLabel() const { return m_statusLabel; }
    ui::ImageView *arrowImage() const { return m_arrowImage; }
    ui::ActivityIndicatorView *activityView() const { return m_activityView; }

    // The last-updated text for a date: "yyyy/MM/dd hh:mm:" on a 12-hour clock, then the
    // morning or afternoon marker.
    static QString formatLastUpdated(const QDateTime &date);

protected:
    bool event(QEvent *event) override;

private:
    static qreal overshoot(const ui::ScrollView *scrollView);
    bool delegateIsLoading();
    void turnArrow(qreal radians, bool animated);
    void setInset(ui::ScrollView *scrollView, const ui::EdgeInsets &inset, int durationMs);

    ui::WeakDelegate<PvxRefreshTableHeaderDelegate> m_delegate;
    PvxRefreshHeaderState m_state = PvxRefreshHeaderNormal;
    ui::Label *m_lastUpdatedLabel;
    ui::Label *m_statusLabel;
    ui::ImageView *m_arrowImage;
    ui::ActivityIndicatorView *m_activityView;
    QPointer<QVariantAnimation> m_arrowAnimation;
    QPointer<QVariantAnimation> m_insetAnimation;
};
