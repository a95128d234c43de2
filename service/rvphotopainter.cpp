// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvphotopainter.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace
{
quint32 codeHash(const QString &text)
{
    quint32 h = 2166136261u;
    for (const QChar c : text) {
        h ^= c.unicode();
        h *= 16777619u;
    }
    return h;
}
} // namespace

QImage RVPhotoPainter::portrait(const QString &ysdm, bool female, QSize size)
{
    const quint32 h = codeHash(ysdm);
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Draw on a grid 100 wide and as tall as the picture's proportion makes it.
    const qreal scale = image.width() / 100.0;
    const qreal height = image.height() / scale;
    p.scale(scale, scale);

    QLinearGradient ground(0, 0, 0, height);
    const QColor tint = QColor::fromHsv(static_cast<int>(h % 360), 60, 235);
    ground.setColorAt(0, tint.lighter(115));
    ground.setColorAt(1, tint.darker(110));
    p.fillRect(QRectF(0, 0, 100, height), ground);
    // The figure was drawn for a square: in a taller picture its head sits a little lower,
    // and the coat reaches down to the bottom edge.
    p.translate(0, std::max(0.0, (height - 100) / 2.4));

    const QColor skins[] = {QColor(241, 204, 170), QColor(228, 185, 150), QColor(214, 170, 134)};
    const QColor hairs[] = {QColor(30, 28, 28), QColor(55, 40, 32), QColor(80, 76, 74)};
    const QColor skin = skins[(h >> 9) % 3];
    const QColor hair = hairs[(h >> 11) % 3];
    p.setPen(Qt::NoPen);

    if (female) { // hair falling behind the shoulders
        p.setBrush(hair);
        p.drawRoundedRect(QRectF(30, 22, 40, 50), 18, 18);
    }
    // Shoulders in a white coat, shirt and neck.
    p.setBrush(QColor(250, 250, 250));
    p.drawRoundedRect(QRectF(12, 68, 76, std::max(60.0, height)), 30, 26);
    p.setBrush(QColor(120, 170, 210));
    QPainterPath shirt;
    shirt.moveTo(42, 70);
    shirt.lineTo(50, 88);
    shirt.lineTo(58, 70);
    shirt.closeSubpath();
    p.drawPath(shirt);
    p.setBrush(skin);
    p.drawRect(QRectF(44, 56, 12, 16));
    // Head and hair.
    p.drawEllipse(QRectF(34, 24, 32, 38));
    p.setBrush(hair);
    QPainterPath top;
    top.moveTo(34, 40);
    top.cubicTo(32, 16, 68, 16, 66, 40);
    top.cubicTo(60, 30, 42, 30, 34, 40);
    p.drawPath(top);
    // Stethoscope round the neck.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(70, 75, 85), 2.2, Qt::SolidLine, Qt::RoundCap));
    QPainterPath tube;
    tube.moveTo(40, 72);
    tube.cubicTo(38, 92, 62, 92, 60, 72);
    p.drawPath(tube);
    p.setBrush(QColor(150, 155, 165));
    p.drawEllipse(QPointF(50, 88), 3, 3);
    p.end();
    return image;
}

QByteArray RVPhotoPainter::portraitPng(const QString &ysdm, bool female, QSize size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!portrait(ysdm, female, size).save(&buffer, "PNG"))
        return {};
    return bytes;
}
