// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/ztroundprogressview.h"

#include "toolkit/color.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace
{
constexpr qreal kRingWidth = 2.0;
constexpr qreal kPieBorder = 2.0;
// Qt counts angles in sixteenths of a degree, counter-clockwise from three o'clock.
constexpr int kTwelveOClock = 90 * 16;
constexpr int kFullTurn = 360 * 16;
} // namespace

ZtRoundProgressView::ZtRoundProgressView(QWidget *parent)
    : ui::View(QRectF(0, 0, kSide, kSide), parent),
      m_progressTintColor(ui::Color::colorWithWhite(1.0, 1.0)),
      m_backgroundTintColor(ui::Color::colorWithWhite(1.0, 0.1))
{
    setUserInteractionEnabled(false);
}

void ZtRoundProgressView::setProgress(float progress)
{
    const float clamped = std::clamp(progress, 0.0f, 1.0f);
    if (qFuzzyCompare(clamped + 1.0f, m_progress + 1.0f))
        return;
    m_progress = clamped;
    update();
}

void ZtRoundProgressView::setProgressTintColor(const QColor &color)
{
    m_progressTintColor = color;
    update();
}

void ZtRoundProgressView::setBackgroundTintColor(const QColor &color)
{
    m_backgroundTintColor = color;
    update();
}

void ZtRoundProgressView::setAnnular(bool annular)
{
    if (m_annular == annular)
        return;
    m_annular = annular;
    update();
}

void ZtRoundProgressView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height());
    const QRectF circle((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    if (m_annular)
        drawRing(painter, circle);
    else
        drawPie(painter, circle);
}

void ZtRoundProgressView::drawPie(QPainter &painter, const QRectF &circle) const
{
    const QRectF outline =
        circle.adjusted(kPieBorder / 2, kPieBorder / 2, -kPieBorder / 2, -kPieBorder / 2);
    painter.setPen(QPen(m_progressTintColor, kPieBorder));
    painter.setBrush(m_backgroundTintColor);
    painter.drawEllipse(outline);
    if (m_progress <= 0)
        return;
    // The slice sits inside the border with a small gap, as a filled wedge.
    const qreal inset = kPieBorder * 2;
    const QRectF slice = circle.adjusted(inset, inset, -inset, -inset);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_progressTintColor);
    painter.drawPie(slice, kTwelveOClock, -int(m_progress * kFullTurn));
}

void ZtRoundProgressView::drawRing(QPainter &painter, const QRectF &circle) const
{
    const qreal half = kRingWidth / 2;
    const QRectF ring = circle.adjusted(half, half, -half, -half);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(m_backgroundTintColor, kRingWidth));
    painter.drawEllipse(ring);
    if (m_progress <= 0)
        return;
    QPen arcPen(m_progressTintColor, kRingWidth);
    arcPen.setCapStyle(Qt::RoundCap);
    painter.setPen(arcPen);
    painter.drawArc(ring, kTwelveOClock, -int(m_progress * kFullTurn));
}
