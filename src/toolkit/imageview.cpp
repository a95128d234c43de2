// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/imageview.h"

#include <QPainter>

#include <cmath>

namespace ui
{

ImageView::ImageView(const QRectF &frame, QWidget *parent) : View(frame, parent)
{
    setUserInteractionEnabled(false);
}

ImageView::ImageView(const Image &image, QWidget *parent)
    : ImageView(QRectF(QPointF(0, 0), image.size()), parent)
{
    m_image = image;
}

void ImageView::setImage(const Image &image)
{
    const bool renamed = image.accessibilityLabel() != m_image.accessibilityLabel();
    m_image = image;
    update();
    if (renamed)
        accessibilityLabelDidChange();
}

QString ImageView::shownAccessibilityLabel() const
{
    return displayedImage().accessibilityLabel();
}

void ImageView::setHighlightedImage(const Image &image)
{
    m_highlightedImage = image;
    update();
}

void ImageView::setHighlighted(bool highlighted)
{
    m_highlighted = highlighted;
    update();
}

void ImageView::setContentMode(ContentMode mode)
{
    m_contentMode = mode;
    update();
}

void ImageView::setRotation(qreal radians)
{
    m_rotation = radians;
    update();
}

Image ImageView::displayedImage() const
{
    if (m_highlighted && !m_highlightedImage.isNull())
        return m_highlightedImage;
    return m_image;
}

QRectF ImageView::targetRect(const QSizeF &imageSize) const
{
    const QRectF bounds = this->bounds();
    if (imageSize.isEmpty())
        return bounds;
    switch (m_contentMode) {
    case ContentMode::ScaleToFill:
        return bounds;
    case ContentMode::Center: {
        QRectF r(QPointF(0, 0), imageSize);
        r.moveCenter(bounds.center());
        return r;
    }
    case ContentMode::ScaleAspectFit:
    case ContentMode::ScaleAspectFill: {
        const QSizeF scaled =
            imageSize.scaled(bounds.size(), m_contentMode == ContentMode::ScaleAspectFit
                                                ? Qt::KeepAspectRatio
                                                : Qt::KeepAspectRatioByExpanding);
        QRectF r(QPointF(0, 0), scaled);
        r.moveCenter(bounds.center());
        return r;
    }
    }
    return bounds;
}

void ImageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintBackground(painter);
    const Image image = displayedImage();
    if (image.isNull())
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_contentMode == ContentMode::ScaleAspectFill)
        painter.setClipRect(bounds());
    if (m_rotation != 0) {
        const QPointF c = bounds().center();
        painter.translate(c);
        painter.rotate(m_rotation * 180.0 / M_PI);
        painter.translate(-c);
    }
    image.draw(painter, targetRect(image.size()));
}

} // namespace ui
