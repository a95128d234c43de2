// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/activityindicatorview.h"

#include "toolkit/color.h"

#include <QPainter>

namespace ui
{

namespace
{
constexpr int kSpokes = 12;
constexpr int kStepMs = 80;
} // namespace

ActivityIndicatorView::ActivityIndicatorView(ActivityIndicatorViewStyle style, QWidget *parent)
    : View({}, parent), m_style(style)
{
    setUserInteractionEnabled(false);
    setActivityIndicatorViewStyle(style);
    m_timer.setInterval(kStepMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % kSpokes;
        update();
    });
    setHidden(true);
}

void ActivityIndicatorView::setActivityIndicatorViewStyle(ActivityIndicatorViewStyle style)
{
    m_style = style;
    const qreal side = style == ActivityIndicatorViewStyle::WhiteLarge ? 37 : 20;
    setFrame(QRectF(frame().topLeft(), QSizeF(side, side)));
    m_color = style == ActivityIndicatorViewStyle::Gray ? Color::grayColor() : Color::whiteColor();
    update();
}

void ActivityIndicatorView::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void ActivityIndicatorView::setHidesWhenStopped(bool hides)
{
    m_hidesWhenStopped = hides;
    if (!isAnimating())
        setHidden(hides);
}

void ActivityIndicatorView::startAnimating()
{
    if (isAnimating())
        return;
    m_timer.start();
    setHidden(false);
}

void ActivityIndicatorView::stopAnimating()
{
    m_timer.stop();
    if (m_hidesWhenStopped)
        setHidden(true);
    update();
}

void ActivityIndicatorView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintBackground(painter);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height());
    const qreal outer = side / 2;
    const qreal inner = outer * 0.45;
    painter.translate(width() / 2.0, height() / 2.0);
    for (int i = 0; i < kSpokes; ++i) {
        // The spoke of the current step is brightest; those behind it fade out.
        const int age = (m_step - i + kSpokes) % kSpokes;
        QColor c = m_color;
        c.setAlphaF(float(std::max(0.15, 1.0 - age / double(kSpokes))));
        painter.setPen(QPen(c, std::max(2.0, side / 12), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(0, -inner), QPointF(0, -outer + side / 12));
        painter.rotate(360.0 / kSpokes);
    }
}

} // namespace ui
