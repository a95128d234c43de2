// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "components/ztprogresshudlayout.h"

#include "toolkit/view.h"
#include "toolkit/weakdelegate.h"

#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QList>
#include <QMutex>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

class QVariantAnimation;
class ZtProgressHUDDelegate;

namespace ui
{
class Label;
}

enum class ZtProgressHUDMode {
    Indeterminate = 0,            // a large white spinner
    Determinate = 1,              // a pie
    DeterminateHorizontalBar = 2, // a bar
    AnnularDeterminate = 3,       // a ring
    CustomView = 4,               // customView
    Text = 5,                     // no indicator
};

enum class ZtProgressHUDAnimation {
    Fade = 0,
    Zoom = 1,   // shrinks in from 1.5, shrinks out to 0.5
    ZoomIn = 2, // grows in from 0.5, grows out to 1.5
};

// An overlay over a view: it covers its parent, may darken it, and draws a rounded box in the
// middle holding an indicator, a label and a details label. It owns those content views and
// its timers (grace and minimum show time) and runs the show/hide state machine
// (created at alpha 0, shown, hiding, done). Everything visible happens on the main thread;
// the content properties (mode, custom view, texts, fonts, progress) may be set from any
// thread and are applied on the main thread. The other properties belong to the main thread.
class ZtProgressHUD final : public ui::View
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ZtProgressHUD)

public:
    using Block = std::function<void()>;

    // An overlay the size of the view, not yet added (initWithView). A missing view is a
    // programming error: debug builds stop on it, release builds log it and return null.
    static ZtProgressHUD *initWithView(ui::View *view);
    explicit ZtProgressHUD(const QRectF &frame = {});
    ~ZtProgressHUD() override;

    // Makes an overlay for the view, adds it on top and shows it (null for a missing view).
    static ZtProgressHUD *showHUDAddedTo(ui::View *view, bool animated);
    // The overlays that are direct subviews of the view, the last added first; hiding them
    // also takes them out of the view tree.
    static bool hideHUDForView(ui::View *view, bool animated);
    static int hideAllHUDsForView(ui::View *view, bool animated);
    static ZtProgressHUD *HUDForView(ui::View *view);
    static QList<ZtProgressHUD *> allHUDsForView(ui::View *view);

    void show(bool animated);
    void hide(bool animated);
    void hide(bool animated, qreal afterDelay);

    // Content: any thread.
    ZtProgressHUDMode mode() const;
    void setMode(ZtProgressHUDMode mode);
    // The view shown in custom mode; the overlay takes it over.
    ui::View *customView() const;
    void setCustomView(ui::View *view);
    QString labelText() const;
    void setLabelText(const QString &text);
    QFont labelFont() const;
    void setLabelFont(const QFont &font);
    QString detailsLabelText() const;
    void setDetailsLabelText(const QString &text);
    QFont detailsLabelFont() const;
    void setDetailsLabelFont(const QFont &font);
    float progress() const;
    void setProgress(float progress);

    // Appearance and timing: main thread.
    ZtProgressHUDAnimation animationType() const { return m_animationType; }
    void setAnimationType(ZtProgressHUDAnimation type) { m_animationType = type; }
    qreal opacity() const { return m_opacity; }
    void setOpacity(qreal opacity);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    bool dimBackground() const { return m_dimBackground; }
    void setDimBackground(bool dim);
    qreal margin() const { return m_margin; }
    void setMargin(qreal margin);
    qreal xOffset() const { return m_xOffset; }
    void setXOffset(qreal offset);
    qreal yOffset() const { return m_yOffset; }
    void setYOffset(qreal offset);
    QSizeF minSize() const { return m_minSize; }
    void setMinSize(const QSizeF &size);
    bool square() const { return m_square; }
    void setSquare(bool square);
    qreal graceTime() const { return m_graceTime; }
    void setGraceTime(qreal seconds) { m_graceTime = seconds; }
    qreal minShowTime() const { return m_minShowTime; }
    void setMinShowTime(qreal seconds) { m_minShowTime = seconds; }
    bool removeFromSuperViewOnHide() const { return m_removeFromSuperViewOnHide; }
    void setRemoveFromSuperViewOnHide(bool remove) { m_removeFromSuperViewOnHide = remove; }
    bool taskInProgress() const { return m_taskInProgress; }
    void setTaskInProgress(bool inProgress) { m_taskInProgress = inProgress; }
    Block completionBlock() const { return m_completionBlock; }
    void setCompletionBlock(Block block) { m_completionBlock = std::move(block); }
    // Held weakly (see ZtProgressHUDDelegate).
    void setDelegate(ZtProgressHUDDelegate *delegate);

    // Where the box and the content were last laid out, in the overlay's coordinates.
    const ZtProgressHUDLayout &currentLayout() const { return m_layout; }
    ui::View *indicator() const { return m_indicator; }
    ui::Label *label() const { return m_label; }
    ui::Label *detailsLabel() const { return m_detailsLabel; }

    // Read as one: a busy indicator with its texts, or a notification when it shows text alone
    // (a tip).
    QAccessible::Role accessibilityRole() const override;
    void addAccessibilityStates(QAccessible::State &state) const override;

Q_SIGNALS:
    // The overlay is fully hidden (after the delegate and the completion were told).
    void wasHidden();

protected:
    QString shownAccessibilityLabel() const override;
    void layoutSubviews() override;
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    enum Change : unsigned {
        IndicatorChange = 1,
        CustomViewChange = 2,
        LabelChange = 4,
        ProgressChange = 8,
    };

    void setUpLabels();
    void contentChanged(unsigned change);
    // The observed properties may be set from any thread; the widgets follow on the main one.
    template <class T> T readLocked(const T &field) const
    {
        QMutexLocker lock(&m_mutex);
        return field;
    }
    template <class T, class V> void writeLocked(T &field, const V &value, unsigned change)
    {
        {
            QMutexLocker lock(&m_mutex);
            field = value;
        }
        contentChanged(change);
    }
    void applyPendingChanges();
    void adoptCustomView();
    void updateIndicators();
    void followParent();
    void relayout();

    void showUsingAnimation(bool animated);
    void hideUsingAnimation(bool animated);
    void handleGraceTimer();
    void done();
    void fadeTo(qreal alpha, qreal fromScale, qreal toScale, Block finished);
    void applyFade(qreal alpha, qreal scale);

    // Content, shared with other threads.
    mutable QMutex m_mutex;
    ZtProgressHUDMode m_mode = ZtProgressHUDMode::Indeterminate;
    QPointer<ui::View> m_customView;
    QString m_labelText;
    QFont m_labelFont;
    QString m_detailsLabelText;
    QFont m_detailsLabelFont;
    float m_progress = 0;
    unsigned m_pendingChanges = 0;

    // Main thread only.
    ZtProgressHUDAnimation m_animationType = ZtProgressHUDAnimation::Fade;
    qreal m_opacity = 0.8;
    QColor m_color;
    bool m_dimBackground = false;
    qreal m_margin = 20;
    qreal m_xOffset = 0;
    qreal m_yOffset = 0;
    QSizeF m_minSize{0, 0};
    bool m_square = false;
    qreal m_graceTime = 0;
    qreal m_minShowTime = 0;
    bool m_removeFromSuperViewOnHide = false;
    bool m_taskInProgress = false;
    Block m_completionBlock;
    ui::WeakDelegate<ZtProgressHUDDelegate> m_delegate;

    bool m_useAnimation = true;
    QElapsedTimer m_showStarted; // valid while shown
    QTimer m_graceTimer;
    QTimer m_minShowTimer;
    QPointer<QVariantAnimation> m_fade;
    QPointer<QWidget> m_watchedParent;
    ZtProgressHUDLayout m_layout;
    QPointer<ui::View> m_indicator;
    QPointer<ui::View> m_ownedCustomView;
    ui::Label *m_label = nullptr;
    ui::Label *m_detailsLabel = nullptr;
};
