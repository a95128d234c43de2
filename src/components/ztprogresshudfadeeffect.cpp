// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/ztprogresshudfadeeffect.h"

#include <QPainter>

ZtProgressHUDFadeEffect::ZtProgressHUDFadeEffect(QObject *parent) : QGraphicsOpacityEffect(parent)
{
}

void ZtProgressHUDFadeEffect::setScale(qreal scale)
{
    if (qFuzzyCompare(scale, m_scale))
        return;
    m_scale = scale;
    update();
}

void ZtProgressHUDFadeEffect::draw(QPainter *painter)
{
    if (opacity() <= 0)
        return;
    if (qFuzzyCompare(m_scale, 1.0)) {
        QGraphicsOpacityEffect::draw(painter);
        return;
    }
    QPoint offset;
    const QPixmap pixmap = sourcePixmap(Qt::LogicalCoordinates, &offset, NoPad);
    if (pixmap.isNull())
        return;
    const QPointF centre = sourceBoundingRect(Qt::LogicalCoordinates).center();
    painter->save();
    painter->setOpacity(painter->opacity() * opacity());
    painter->translate(centre);
    painter->scale(m_scale, m_scale);
    painter->translate(-centre);
    painter->drawPixmap(offset, pixmap);
    painter->restore();
}
