// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/ztprogresshud.h"
#include "components/componentslog.h"

#include "components/ztbarprogressview.h"
#include "components/ztprogresshuddelegate.h"
#include "components/ztroundprogressview.h"

#include "toolkit/activityindicatorview.h"
#include "toolkit/color.h"
#include "toolkit/font.h"
#include "toolkit/label.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QThread>

using namespace Qt::StringLiterals;

namespace
{

constexpr qreal kBoxCornerRadius = 10;
constexpr qreal kDimAlpha = 0.75;

ui::Label *makeLabel(const QFont &font, int lines)
{
    auto *label = new ui::Label;
    label->setFont(font);
    label->setTextColor(ui::Color::whiteColor());
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setNumberOfLines(lines);
    if (lines != 1)
        label->setLineBreakMode(ui::LineBreakMode::WordWrap);
    label->setOpaque(false);
    label->setUserInteractionEnabled(false);
    return label;
}

} // namespace

ZtProgressHUD *ZtProgressHUD::initWithView(ui::View *view)
{
    Q_ASSERT_X(view, "ZtProgressHUD::initWithView", "View must not be nil.");
    if (!view) {
        qCCritical(lcHud, "View must not be nil.");
        return nullptr;
    }
    return new ZtProgressHUD(view->bounds());
}

ZtProgressHUD::ZtProgressHUD(const QRectF &frame)
    : ui::View(frame), m_labelFont(ui::Font::boldSystemFontOfSize(16)),
      m_detailsLabelFont(ui::Font::boldSystemFontOfSize(12))
{
    setOpaque(false);
    m_graceTimer.setParent(this);
    m_graceTimer.setObjectName(u"graceTimer"_s);
    m_graceTimer.setSingleShot(true);
    connect(&m_graceTimer, &QTimer::timeout, this, &ZtProgressHUD::handleGraceTimer);
    m_minShowTimer.setParent(this);
    m_minShowTimer.setObjectName(u"minShowTimer"_s);
    m_minShowTimer.setSingleShot(true);
    connect(&m_minShowTimer, &QTimer::timeout, this,
            [this] { hideUsingAnimation(m_useAnimation); });
    applyFade(0.0, 1.0); // created invisible; show fades it in
    setUpLabels();
    setAccessibilityElementsHidden(true);
    updateIndicators();
    relayout();
}

ZtProgressHUD::~ZtProgressHUD() = default;

void ZtProgressHUD::setUpLabels()
{
    m_label = makeLabel(m_labelFont, 1);
    m_detailsLabel = makeLabel(m_detailsLabelFont, 0);
    addSubview(m_label);
    addSubview(m_detailsLabel);
}

// ---- Class operations ----

ZtProgressHUD *ZtProgressHUD::showHUDAddedTo(ui::View *view, bool animated)
{
    ZtProgressHUD *hud = initWithView(view);
    if (!hud)
        return nullptr;
    view->addSubview(hud);
    hud->show(animated);
    return hud;
}

QList<ZtProgressHUD *> ZtProgressHUD::allHUDsForView(ui::View *view)
{
    QList<ZtProgressHUD *> huds;
    if (!view)
        return huds;
    const QList<ui::View *> subviews = view->subviews();
    for (auto it = subviews.crbegin(); it != subviews.crend(); ++it) {
        if (auto *hud = qobject_cast<ZtProgressHUD *>(*it))
            huds.append(hud);
    }
    return huds;
}

ZtProgressHUD *ZtProgressHUD::HUDForView(ui::View *view)
{
    const QList<ZtProgressHUD *> huds = allHUDsForView(view);
    return huds.isEmpty() ? nullptr : huds.first();
}

bool ZtProgressHUD::hideHUDForView(ui::View *view, bool animated)
{
    ZtProgressHUD *hud = HUDForView(view);
    if (!hud)
        return false;
    hud->setRemoveFromSuperViewOnHide(true);
    hud->hide(animated);
    return true;
}

int ZtProgressHUD::hideAllHUDsForView(ui::View *view, bool animated)
{
    const QList<ZtProgressHUD *> huds = allHUDsForView(view);
    for (ZtProgressHUD *hud : huds) {
        hud->setRemoveFromSuperViewOnHide(true);
        hud->hide(animated);
    }
    return int(huds.size());
}

// ---- Content shared with other threads ----

QAccessible::Role ZtProgressHUD::accessibilityRole() const
{
    return mode() == ZtProgressHUDMode::Text ? QAccessible::Notification : QAccessible::ProgressBar;
}

void ZtProgressHUD::addAccessibilityStates(QAccessible::State &state) const
{
    state.busy = mode() != ZtProgressHUDMode::Text;
}

QString ZtProgressHUD::shownAccessibilityLabel() const
{
    const QString label = labelText().simplified();
    const QString details = detailsLabelText().simplified();
    if (label.isEmpty() || details.isEmpty())
        return label + details;
    return label + u' ' + details;
}

ZtProgressHUDMode ZtProgressHUD::mode() const
{
    return readLocked(m_mode);
}

void ZtProgressHUD::setMode(ZtProgressHUDMode mode)
{
    writeLocked(m_mode, mode, IndicatorChange);
}

ui::View *ZtProgressHUD::customView() const
{
    QMutexLocker lock(&m_mutex);
    return m_customView.data();
}

void ZtProgressHUD::setCustomView(ui::View *view)
{
    writeLocked(m_customView, view, CustomViewChange | IndicatorChange);
}

QString ZtProgressHUD::labelText() const
{
    return readLocked(m_labelText);
}

void ZtProgressHUD::setLabelText(const QString &text)
{
    writeLocked(m_labelText, text, LabelChange);
}

QFont ZtProgressHUD::labelFont() const
{
    return readLocked(m_labelFont);
}

void ZtProgressHUD::setLabelFont(const QFont &font)
{
    writeLocked(m_labelFont, font, LabelChange);
}

QString ZtProgressHUD::detailsLabelText() const
{
    return readLocked(m_detailsLabelText);
}

void ZtProgressHUD::setDetailsLabelText(const QString &text)
{
    writeLocked(m_detailsLabelText, text, LabelChange);
}

QFont ZtProgressHUD::detailsLabelFont() const
{
    return readLocked(m_detailsLabelFont);
}

void ZtProgressHUD::setDetailsLabelFont(const QFont &font)
{
    writeLocked(m_detailsLabelFont, font, LabelChange);
}

float ZtProgressHUD::progress() const
{
    return readLocked(m_progress);
}

void ZtProgressHUD::setProgress(float progress)
{
    writeLocked(m_progress, progress, ProgressChange);
}

void ZtProgressHUD::contentChanged(unsigned change)
{
    bool firstPending = false;
    {
        QMutexLocker lock(&m_mutex);
        firstPending = m_pendingChanges == 0;
        m_pendingChanges |= change;
    }
    if (QThread::currentThread() == thread()) {
        applyPendingChanges();
        return;
    }
    // One hand-over carries every change made before it runs.
    if (firstPending)
        QMetaObject::invokeMethod(this, &ZtProgressHUD::applyPendingChanges, Qt::QueuedConnection);
}

void ZtProgressHUD::applyPendingChanges()
{
    unsigned changes = 0;
    QString labelText;
    QString detailsText;
    QFont labelFont;
    QFont detailsFont;
    float progress = 0;
    {
        QMutexLocker lock(&m_mutex);
        changes = std::exchange(m_pendingChanges, 0u);
        labelText = m_labelText;
        detailsText = m_detailsLabelText;
        labelFont = m_labelFont;
        detailsFont = m_detailsLabelFont;
        progress = m_progress;
    }
    if (changes == 0)
        return;
    if (changes & CustomViewChange)
        adoptCustomView();
    if (changes & IndicatorChange)
        updateIndicators();
    if (changes & LabelChange) {
        m_label->setFont(labelFont);
        m_label->setText(labelText);
        m_detailsLabel->setFont(detailsFont);
        m_detailsLabel->setText(detailsText);
    }
    if (auto *round = qobject_cast<ZtRoundProgressView *>(m_indicator.data()))
        round->setProgress(progress);
    else if (auto *bar = qobject_cast<ZtBarProgressView *>(m_indicator.data()))
        bar->setProgress(progress);
    relayout();
}

// The overlay owns the custom view it is given; one that is replaced goes.
void ZtProgressHUD::adoptCustomView()
{
    ui::View *custom = customView();
    if (m_ownedCustomView && m_ownedCustomView != custom) {
        if (m_indicator == m_ownedCustomView)
            m_indicator = nullptr;
        delete m_ownedCustomView.data();
    }
    m_ownedCustomView = custom;
    if (custom && custom != m_indicator) {
        custom->setHidden(true);
        addSubview(custom);
    }
}

void ZtProgressHUD::updateIndicators()
{
    const ZtProgressHUDMode mode = this->mode();
    ui::View *current = m_indicator;
    const bool currentIsCustom = current && current == m_ownedCustomView;
    ui::View *next = nullptr;
    switch (mode) {
    case ZtProgressHUDMode::Indeterminate:
        next = qobject_cast<ui::ActivityIndicatorView *>(current);
        if (!next || currentIsCustom) {
            auto *spinner =
                new ui::ActivityIndicatorView(ui::ActivityIndicatorViewStyle::WhiteLarge);
            addSubview(spinner);
            spinner->startAnimating();
            next = spinner;
        }
        break;
    case ZtProgressHUDMode::Determinate:
    case ZtProgressHUDMode::AnnularDeterminate: {
        auto *round = currentIsCustom ? nullptr : qobject_cast<ZtRoundProgressView *>(current);
        if (!round) {
            round = new ZtRoundProgressView;
            addSubview(round);
        }
        round->setAnnular(mode == ZtProgressHUDMode::AnnularDeterminate);
        next = round;
        break;
    }
    case ZtProgressHUDMode::DeterminateHorizontalBar:
        next = currentIsCustom ? nullptr : qobject_cast<ZtBarProgressView *>(current);
        if (!next) {
            next = new ZtBarProgressView;
            addSubview(next);
        }
        break;
    case ZtProgressHUDMode::CustomView:
        next = m_ownedCustomView;
        if (next)
            next->setHidden(false);
        break;
    case ZtProgressHUDMode::Text:
        break;
    }
    if (current && current != next) {
        if (currentIsCustom)
            current->setHidden(true);
        else
            delete current;
    }
    m_indicator = next;
}

// ---- Geometry and drawing ----

bool ZtProgressHUD::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange) {
        if (m_watchedParent)
            m_watchedParent->removeEventFilter(this);
        m_watchedParent = parentWidget();
        if (m_watchedParent)
            m_watchedParent->installEventFilter(this);
        followParent();
    }
    return ui::View::event(event);
}

// The parent's size changes where the phone would turn: the overlay covers it again.
bool ZtProgressHUD::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_watchedParent && event->type() == QEvent::Resize)
        followParent();
    return ui::View::eventFilter(watched, event);
}

void ZtProgressHUD::followParent()
{
    if (QWidget *parent = parentWidget())
        setFrame(QRectF(QPointF(0, 0), QSizeF(parent->size())));
}

void ZtProgressHUD::layoutSubviews()
{
    relayout();
}

void ZtProgressHUD::relayout()
{
    if (!m_label)
        return; // still being built
    ZtProgressHUDLayout::Input in;
    in.bounds = bounds().size();
    if (m_indicator)
        in.indicator = m_indicator->frame().size();
    in.labelText = m_label->text();
    in.labelFont = m_label->font();
    in.detailsLabelText = m_detailsLabel->text();
    in.detailsLabelFont = m_detailsLabel->font();
    in.margin = m_margin;
    in.xOffset = m_xOffset;
    in.yOffset = m_yOffset;
    in.minSize = m_minSize;
    in.square = m_square;
    m_layout = ZtProgressHUDLayout::compute(in);
    if (m_indicator)
        m_indicator->setFrame(m_layout.indicator);
    m_label->setFrame(m_layout.label);
    m_detailsLabel->setFrame(m_layout.detailsLabel);
    update();
}

void ZtProgressHUD::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_dimBackground) {
        const QRectF area(rect());
        QRadialGradient gradient(area.center(), std::min(area.width(), area.height()));
        gradient.setColorAt(0, ui::Color::colorWithWhite(0, 0));
        gradient.setColorAt(1, ui::Color::colorWithWhite(0, kDimAlpha));
        painter.fillRect(area, gradient);
    }
    QPainterPath box;
    box.addRoundedRect(m_layout.box, kBoxCornerRadius, kBoxCornerRadius);
    painter.fillPath(box, m_color.isValid() ? m_color : ui::Color::colorWithWhite(0, m_opacity));
}

void ZtProgressHUD::setOpacity(qreal opacity)
{
    m_opacity = opacity;
    update();
}

void ZtProgressHUD::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void ZtProgressHUD::setDimBackground(bool dim)
{
    m_dimBackground = dim;
    update();
}

void ZtProgressHUD::setMargin(qreal margin)
{
    m_margin = margin;
    relayout();
}

void ZtProgressHUD::setXOffset(qreal offset)
{
    m_xOffset = offset;
    relayout();
}

void ZtProgressHUD::setYOffset(qreal offset)
{
    m_yOffset = offset;
    relayout();
}

void ZtProgressHUD::setMinSize(const QSizeF &size)
{
    m_minSize = size;
    relayout();
}

void ZtProgressHUD::setSquare(bool square)
{
    m_square = square;
    relayout();
}

void ZtProgressHUD::setDelegate(ZtProgressHUDDelegate *delegate)
{
    m_delegate = delegate;
}

// While it takes touches, the overlay keeps them from the views beneath.
void ZtProgressHUD::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void ZtProgressHUD::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}
