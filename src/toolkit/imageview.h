// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/image.h"
#include "toolkit/view.h"

namespace ui
{

enum class ContentMode {
    ScaleToFill = 0,
    ScaleAspectFit = 1,
    ScaleAspectFill = 2,
    Center = 4,
};

// Shows one picture (or its highlighted variant) fitted to the view by the content mode,
// optionally turned about its centre (the turning arrow of a refresh header needs that).
class ImageView : public View
{
    Q_OBJECT

public:
    explicit ImageView(const QRectF &frame = {}, QWidget *parent = nullptr);
    // Sized to the picture, at the origin.
    explicit ImageView(const Image &image, QWidget *parent = nullptr);
    static ImageView *initWithImage(const Image &image) { return new ImageView(image); }

    Image image() const { return m_image; }
    void setImage(const Image &image);
    Image highlightedImage() const { return m_highlightedImage; }
    void setHighlightedImage(const Image &image);
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);
    ContentMode contentMode() const { return m_contentMode; }
    void setContentMode(ContentMode mode);
    // Rotation in radians, clockwise on screen.
    qreal rotation() const { return m_rotation; }
    void setRotation(qreal radians);
    // The picture currently drawn.
    Image displayedImage() const;

    // A picture is read by its description; one without is decoration, not read at all.
    QAccessible::Role accessibilityRole() const override { return QAccessible::Graphic; }

protected:
    QString shownAccessibilityLabel() const override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRectF targetRect(const QSizeF &imageSize) const;

    Image m_image;
    Image m_highlightedImage;
    ContentMode m_contentMode = ContentMode::ScaleToFill;
    qreal m_rotation = 0;
    bool m_highlighted = false;
};

} // namespace ui
