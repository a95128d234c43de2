// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <memory>

class QPainter;

namespace ui
{

// A picture, either raster or vector (SVG), shared by value. The application ships its
// pictures as SVG resources; a vector picture is drawn at whatever size it is shown, so it
// stays sharp at every scale. Null when nothing could be read.
class Image final
{
public:
    Image() = default;

    // ":/images/<name>"; for a ".png" name with no such resource, ":/images/<basename>.svg".
    // Pictures are cached by name; a missing one gives a null image (and a warning once).
    static Image imageNamed(const QString &name);
    static Image imageWithContentsOfFile(const QString &path);
    static Image imageWithData(const QByteArray &data);
    static Image fromQImage(const QImage &image);

    bool isNull() const { return !m_data; }
    // Natural size in points.
    QSizeF size() const;
    void draw(QPainter &painter, const QRectF &target) const;
    // Rendered at a size in pixels (the natural size when empty).
    QImage toImage(const QSize &pixelSize = {}) const;
    // What the picture shows, for screen readers: the <title> that opens a vector picture.
    // Empty for a picture that only decorates.
    QString accessibilityLabel() const;

    friend bool operator==(const Image &a, const Image &b) { return a.m_data == b.m_data; }

private:
    struct Data;
    std::shared_ptr<const Data> m_data;
};

} // namespace ui
