// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/ztbarprogressview.h"

#include "toolkit/color.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace
{
constexpr qreal kLineWidth = 2.0;
// Space between the outline and the filled part.
constexpr qreal kGap = 2.0;
} // namespace

ZtBarProgressView::ZtBarProgressView(QWidget *parent)
    : ui::View(QRectF(0, 0, kWidth, kHeight), parent), m_lineColor(ui::Color::whiteColor()),
      m_progressColor(ui::Color::whiteColor()), m_progressRemainingColor(ui::Color::clearColor())
{
    setUserInteractionEnabled(false);
}

void ZtBarProgressView::setProgress(float progress)
{
    const float clamped = std::clamp(progress, 0.0f, 1.0f);
    if (qFuzzyCompare(clamped + 1.0f, m_progress + 1.0f))
        return;
    m_progress = clamped;
    update();
}

void ZtBarProgressView::setLineColor(const QColor &color)
{
    m_lineColor = color;
    update();
}

void ZtBarProgressView::setProgressColor(const QColor &color)
{
    m_progressColor = color;
    update();
}

void ZtBarProgressView::setProgressRemainingColor(const QColor &color)
{
    m_progressRemainingColor = color;
    update();
}

void ZtBarProgressView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal half = kLineWidth / 2;
    const QRectF outline = QRectF(rect()).adjusted(half, half, -half, -half);
    const qreal outerRadius = outline.height() / 2;
    painter.setPen(QPen(m_lineColor, kLineWidth));
    painter.setBrush(m_progressRemainingColor);
    painter.drawRoundedRect(outline, outerRadius, outerRadius);
    if (m_progress <= 0)
        return;
    const QRectF inside = outline.adjusted(half + kGap, half + kGap, -half - kGap, -half - kGap);
    const qreal radius = inside.height() / 2;
    // Never narrower than a full round end, so a small progress still reads as a dot.
    const qreal filled = std::max(inside.height(), inside.width() * qreal(m_progress));
    QPainterPath path;
    path.addRoundedRect(QRectF(inside.topLeft(), QSizeF(filled, inside.height())), radius, radius);
    painter.fillPath(path, m_progressColor);
}
