// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/focusring.h"

#include "toolkit/color.h"

#include <QPainter>

namespace ui
{

namespace
{
constexpr qreal kRingWidth = 3;
} // namespace

FocusRing::FocusRing(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void FocusRing::paint(QPainter &painter, const QRectF &rect, qreal radius)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    const QRectF outer =
        rect.adjusted(kRingWidth / 2, kRingWidth / 2, -kRingWidth / 2, -kRingWidth / 2);
    painter.setPen(QPen(Color::selectionBlueColor(), kRingWidth));
    painter.drawRoundedRect(outer, radius, radius);
    const QRectF inner = outer.adjusted(kRingWidth / 2 + 0.5, kRingWidth / 2 + 0.5,
                                        -kRingWidth / 2 - 0.5, -kRingWidth / 2 - 0.5);
    painter.setPen(QPen(Color::whiteColor(), 1));
    painter.drawRoundedRect(inner, std::max(0.0, radius - kRingWidth),
                            std::max(0.0, radius - kRingWidth));
    painter.restore();
}

void FocusRing::place(const QRect &rect, bool shown)
{
    setGeometry(rect);
    setVisible(shown);
    if (shown)
        raise();
}

void FocusRing::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, QRectF(rect()));
}

} // namespace ui
