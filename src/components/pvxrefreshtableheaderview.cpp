// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/pvxrefreshtableheaderview.h"

#include "components/pvxrefreshtableheaderdelegate.h"

#include "platform/userdefaults.h"
#include "toolkit/activityindicatorview.h"
#include "toolkit/animation.h"
#include "toolkit/color.h"
#include "toolkit/font.h"
#include "toolkit/image.h"
#include "toolkit/imageview.h"
#include "toolkit/label.h"
#include "toolkit/scrollview.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include <numbers>

using namespace Qt::StringLiterals;

const QString PvxRefreshTableHeaderView::kLastRefreshKey = u"PvxRefreshTableView_LastRefresh"_s;

namespace
{

constexpr auto kContext = "PvxRefreshTableHeaderView";

QColor textColor()
{
    return ui::Color::colorWithRed(87 / 255.0, 108 / 255.0, 137 / 255.0, 1.0);
}

ui::Label *makeLabel(const QRectF &frame, const QFont &font, ui::View *parent)
{
    auto *label = new ui::Label(frame);
    label->setFont(font);
    label->setTextColor(textColor());
    label->setShadowColor(ui::Color::colorWithWhite(0.9, 1.0));
    label->setShadowOffset(QSizeF(0, 1));
    label->setBackgroundColor(ui::Color::clearColor());
    label->setTextAlignment(ui::TextAlignment::Center);
    parent->addSubview(label);
    return label;
}

// The arrow drawn when the application ships no "blueArrow.png": a shaft with a head pointing
// up, the direction the user drags the list.
ui::Image drawnArrow()
{
    constexpr qreal scale = 2;
    QImage image(QSize(30 * scale, 55 * scale), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(scale);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor blue = ui::Color::colorWithRed(0.2, 0.45, 0.8, 1.0);
    painter.fillRect(QRectF(12, 18, 6, 33), blue);
    QPainterPath head;
    head.moveTo(15, 4);
    head.lineTo(27, 20);
    head.lineTo(3, 20);
    head.closeSubpath();
    painter.fillPath(head, blue);
    painter.end();
    return ui::Image::fromQImage(image);
}

QString localized(const char *text)
{
    // The Chinese text is its own key: it shows unless a translation is installed.
    return QCoreApplication::translate(kContext, text);
}

} // namespace

PvxRefreshTableHeaderView::PvxRefreshTableHeaderView(const QRectF &frame, QWidget *parent)
    : ui::View(frame, parent)
{
    setBackgroundColor(ui::Color::colorWithRed(226 / 255.0, 231 / 255.0, 237 / 255.0, 1.0));
    const qreal width = frame.width();
    m_lastUpdatedLabel = makeLabel(QRectF(0, 35, width, 20), ui::Font::systemFontOfSize(12), this);
    m_statusLabel = makeLabel(QRectF(0, 17, width, 20), ui::Font::boldSystemFontOfSize(13), this);

    m_arrowImage = new ui::ImageView(QRectF(25, 0, 30, 55));
    m_arrowImage->setContentMode(ui::ContentMode::ScaleAspectFit);
    ui::Image arrow = ui::Image::imageNamed(u"blueArrow.png"_s);
    m_arrowImage->setImage(arrow.isNull() ? drawnArrow() : arrow);
    addSubview(m_arrowImage);

    m_activityView = new ui::ActivityIndicatorView(ui::ActivityIndicatorViewStyle::Gray);
    m_activityView->setFrame(QRectF(25, 27, 20, 20));
    addSubview(m_activityView);

    setState(PvxRefreshHeaderNormal);
}

void PvxRefreshTableHeaderView::setState(PvxRefreshHeaderState state)
{
    switch (state) {
    case PvxRefreshHeaderPulling:
        m_statusLabel->setText(
            localized(QT_TRANSLATE_NOOP("PvxRefreshTableHeaderView", "松开即可更新...")));
        turnArrow(std::numbers::pi, true);
        break;
    case PvxRefreshHeaderNormal:
        // Coming back from pulling, the arrow turns back visibly; otherwise it snaps.
        turnArrow(0, m_state == PvxRefreshHeaderPulling);
        m_statusLabel->setText(
            localized(QT_TRANSLATE_NOOP("PvxRefreshTableHeaderView", "上拉即可更新...")));
        m_activityView->stopAnimating();
        m_arrowImage->setHidden(false);
        refreshLastUpdatedDate();
        break;
    case PvxRefreshHeaderLoading:
        m_statusLabel->setText(
            localized(QT_TRANSLATE_NOOP("PvxRefreshTableHeaderView", "加载中...")));
        m_activityView->startAnimating();
        m_arrowImage->setHidden(true);
        break;
    }
    m_state = state;
}

QString PvxRefreshTableHeaderView::formatLastUpdated(const QDateTime &date)
{
    // The pattern is "yyyy/MM/dd hh:mm:a": hh is the 12-hour clock (12, 01 ... 11), which
    // Qt's own "hh" is not without an AM/PM marker in the pattern, so the hour is built here.
    const QDateTime local = date.toLocalTime();
    const int hour = local.time().hour();
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    return local.date().toString(u"yyyy/MM/dd "_s) % u"%1"_s.arg(hour12, 2, 10, QChar(u'0')) %
           u':' % local.time().toString(u"mm"_s) % u':' %
           (hour < 12 ? localized(QT_TRANSLATE_NOOP("PvxRefreshTableHeaderView", "上午"))
                      : localized(QT_TRANSLATE_NOOP("PvxRefreshTableHeaderView", "下午")));
}

void PvxRefreshTableHeaderView::refreshLastUpdatedDate()
{
    const std::optional<QDateTime> date =
        m_delegate ? m_delegate->pvxRefreshTableHeaderDataSourceLastUpdated(this) : std::nullopt;
    if (!date || !date->isValid()) {
        m_lastUpdatedLabel->setText(QString());
        return;
    }
    m_lastUpdatedLabel->setText(
        localized(QT_TRANSLATE_NOOP("PvxRefreshTableHeaderView", "最后更新: %1"))
            .arg(formatLastUpdated(*date)));
    auto &defaults = platform::UserDefaults::standardUserDefaults();
    defaults.setObject(kLastRefreshKey, m_lastUpdatedLabel->text());
    defaults.synchronize();
}

qreal PvxRefreshTableHeaderView::overshoot(const ui::ScrollView *scrollView)
{
    return scrollView->contentOffset().y() + scrollView->frame().height() -
           scrollView->contentSize().height();
}

bool PvxRefreshTableHeaderView::delegateIsLoading()
{
    return m_delegate && m_delegate->pvxRefreshTableHeaderDataSourceIsLoading(this);
}

void PvxRefreshTableHeaderView::pvxRefreshScrollViewDidScroll(ui::ScrollView *scrollView)
{
    if (!scrollView)
        return;
    if (m_state == PvxRefreshHeaderLoading) {
        setInset(scrollView, ui::EdgeInsets{0, 0, kThreshold, 0}, 0);
        return;
    }
    if (!scrollView->isDragging())
        return;
    const bool loading = delegateIsLoading();
    const qreal past = overshoot(scrollView);
    if (m_state == PvxRefreshHeaderPulling) {
        if (past < kThreshold && scrollView->contentOffset().y() > 0 && !loading)
            setState(PvxRefreshHeaderNormal);
    } else if (m_state == PvxRefreshHeaderNormal && past > kThreshold && !loading) {
        setState(PvxRefreshHeaderPulling);
    }
    if (scrollView->contentInset().bottom != 0)
        setInset(scrollView, ui::EdgeInsets{}, 0);
}

void PvxRefreshTableHeaderView::pvxRefreshScrollViewDidEndDragging(ui::ScrollView *scrollView)
{
    if (!scrollView)
        return;
    const bool loading = delegateIsLoading();
    if (overshoot(scrollView) <= kThreshold || loading)
        return;
    if (m_delegate)
        m_delegate->pvxRefreshTableHeaderDidTriggerRefresh(this);
    setState(PvxRefreshHeaderLoading);
    setInset(scrollView, ui::EdgeInsets{0, 0, kThreshold, 0}, kInsetOpenMs);
}

void PvxRefreshTableHeaderView::pvxRefreshScrollViewDataSourceDidFinishedLoading(
    ui::ScrollView *scrollView)
{
    if (scrollView)
        setInset(scrollView, ui::EdgeInsets{}, kInsetCloseMs);
    setState(PvxRefreshHeaderNormal);
}

void PvxRefreshTableHeaderView::turnArrow(qreal radians, bool animated)
{
    if (m_arrowAnimation)
        m_arrowAnimation->stop();
    const qreal from = m_arrowImage->rotation();
    if (!animated || from == radians) {
        m_arrowImage->setRotation(radians);
        return;
    }
    QPointer<ui::ImageView> arrow = m_arrowImage;
    m_arrowAnimation =
        ui::Animation::animate(m_arrowImage, kArrowTurnMs, [arrow, from, radians](qreal t) {
            if (arrow)
                arrow->setRotation(from + (radians - from) * t);
        });
}

void PvxRefreshTableHeaderView::setInset(ui::ScrollView *scrollView, const ui::EdgeInsets &inset,
                                         int durationMs)
{
    // A newer change of the inset wins over one still animating.
    if (m_insetAnimation)
        m_insetAnimation->stop();
    const ui::EdgeInsets from = scrollView->contentInset();
    if (durationMs <= 0 || from == inset) {
        scrollView->setContentInset(inset);
        return;
    }
    auto mix = [](qreal a, qreal b, qreal t) { return a + (b - a) * t; };
    // The header owns the animation, so that it ends with the header (see event()).
    QPointer<ui::ScrollView> target = scrollView;
    m_insetAnimation = ui::Animation::animate(this, durationMs, [=](qreal t) {
        if (target)
            target->setContentInset(
                ui::EdgeInsets{mix(from.top, inset.top, t), mix(from.left, inset.left, t),
                               mix(from.bottom, inset.bottom, t), mix(from.right, inset.right, t)});
    });
}

bool PvxRefreshTableHeaderView::event(QEvent *event)
{
    // Taken out of its list (the owner drops it once paging has ended, possibly before the
    // gap it was opening below the rows is fully open), the header leaves the list's inset to
    // its owner: an animation left running would open the gap again under a list that has
    // nothing more to show in it.
    if (event->type() == QEvent::ParentChange && !parentWidget() && m_insetAnimation)
        m_insetAnimation->stop();
    return ui::View::event(event);
}
