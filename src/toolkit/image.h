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
    // In a language that has its own pictures (setLanguage), "<basename>_<language>.svg" is
    // taken first where it exists: pictures with words in them are drawn once per language.
    // Pictures are cached by name; a missing one gives a null image (and a warning once).
    static Image imageNamed(const QString &name);
    // The resource imageNamed() reads for a name; empty when there is none.
    static QString pathNamed(const QString &name);
    // The language whose own pictures are preferred ("en"), or none (empty): the pictures
    // are drawn in Chinese. Pictures already handed out keep what they show.
    static void setLanguage(const QString &language);
    static Image imageWithContentsOfFile(const QString &path);
    static Image imageWithData(const QByteArray &data);
    static Image fromQImage(const QImage &image);

    bool isNull() const { return !m_data; }
    // Natural size in points.
    QSizeF size() const;
    void draw(QPainter &painter, const QRectF &target) const;
    // Rendered at a size in pixels (the natural size when empty).
    QImage toImage(const QSize &pixelSize = {}) const;
    // What the picture shows, for screen readers: the <title> that opens a vector picture,
    // through the application's translation (context kTitleContext), so that a picture drawn
    // only once still reads in the interface's language. Empty for a picture that only
    // decorates.
    QString accessibilityLabel() const;
    static constexpr const char *kTitleContext = "ui::Image";

    friend bool operator==(const Image &a, const Image &b) { return a.m_data == b.m_data; }

private:
    struct Data;
    std::shared_ptr<const Data> m_data;
};

} // namespace ui
