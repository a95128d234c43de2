// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QGraphicsOpacityEffect>

// The overlay's look while it fades: the opacity of the toolkit's alpha, plus a scale about
// the overlay's centre for the zooming animation types. Being an opacity effect, the view's
// own alpha setter keeps driving its opacity.
class ZtProgressHUDFadeEffect final : public QGraphicsOpacityEffect
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ZtProgressHUDFadeEffect)

public:
    explicit ZtProgressHUDFadeEffect(QObject *parent = nullptr);

    qreal scale() const { return m_scale; }
    void setScale(qreal scale);

protected:
    void draw(QPainter *painter) override;

private:
    qreal m_scale = 1.0;
};
