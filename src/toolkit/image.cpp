// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/image.h"

#include "toolkit/toolkitlog.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace ui
{

struct Image::Data {
    QImage raster;
    QSizeF size;
    QString description;
    // Parsed once, when loaded; drawing may happen on any thread, one at a time.
    mutable QMutex rendererMutex;
    mutable std::unique_ptr<QSvgRenderer> renderer;
};

namespace
{

QMutex s_cacheMutex;
QHash<QString, Image> &cache()
{
    static QHash<QString, Image> images;
    return images;
}
// Guarded by s_cacheMutex: the cache holds the pictures of this language.
QString &preferredLanguage()
{
    static QString current;
    return current;
}

QString resourcePath(const QString &name)
{
    return u":/images/"_s + name;
}

// "main_ad1.png" and "main_ad1.svg" both have the base "main_ad1".
QString baseName(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 ? name.left(dot) : name;
}

bool looksLikeSvg(const QByteArray &data)
{
    const QByteArray head = data.left(512);
    return head.contains("<svg") || head.startsWith("<?xml");
}

// The text alternative of a vector picture is a <title> as the first child of its root.
QString svgTitle(const QByteArray &data)
{
    QXmlStreamReader xml(data);
    if (!xml.readNextStartElement() || xml.name() != u"svg")
        return {};
    if (!xml.readNextStartElement() || xml.name() != u"title")
        return {};
    return xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
}

} // namespace

Image Image::imageNamed(const QString &name)
{
    {
        QMutexLocker lock(&s_cacheMutex);
        const auto it = cache().constFind(name);
        if (it != cache().constEnd())
            return *it;
    }
    const QString path = pathNamed(name);
    Image image = path.isEmpty() ? Image() : imageWithContentsOfFile(path);
    if (image.isNull())
        qCWarning(lcToolkit) << "no picture named" << name;
    QMutexLocker lock(&s_cacheMutex);
    cache().insert(name, image);
    return image;
}

QString Image::pathNamed(const QString &name)
{
    QString localized;
    {
        QMutexLocker lock(&s_cacheMutex);
        if (!preferredLanguage().isEmpty())
            localized = resourcePath(baseName(name) + u'_' + preferredLanguage() + u".svg"_s);
    }
    QStringList candidates;
    if (!localized.isEmpty())
        candidates << localized;
    candidates << resourcePath(name);
    if (name.endsWith(u".png", Qt::CaseInsensitive))
        candidates << resourcePath(name.chopped(4) + u".svg"_s);
    for (const QString &path : std::as_const(candidates)) {
        if (QFile::exists(path))
            return path;
    }
    return {};
}

void Image::setLanguage(const QString &language)
{
    QMutexLocker lock(&s_cacheMutex);
    if (language == preferredLanguage())
        return;
    preferredLanguage() = language;
    cache().clear();
}

Image Image::imageWithContentsOfFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return imageWithData(file.readAll());
}

Image Image::imageWithData(const QByteArray &data)
{
    if (data.isEmpty())
        return {};
    auto d = std::make_shared<Data>();
    if (looksLikeSvg(data)) {
        // Kept for drawing: parsing a picture once is enough.
        auto renderer = std::make_unique<QSvgRenderer>(data);
        if (!renderer->isValid())
            return {};
        d->size = renderer->defaultSize();
        d->renderer = std::move(renderer);
        d->description = svgTitle(data);
    } else {
        if (!d->raster.loadFromData(data))
            return {};
        d->size = d->raster.size();
    }
    Image image;
    image.m_data = std::move(d);
    return image;
}

Image Image::fromQImage(const QImage &raster)
{
    if (raster.isNull())
        return {};
    auto d = std::make_shared<Data>();
    d->raster = raster;
    d->size = raster.size() / raster.devicePixelRatio();
    Image image;
    image.m_data = std::move(d);
    return image;
}

QString Image::accessibilityLabel() const
{
    if (!m_data || m_data->description.isEmpty())
        return {};
    return QCoreApplication::translate(kTitleContext, m_data->description.toUtf8().constData());
}

QSizeF Image::size() const
{
    return m_data ? m_data->size : QSizeF();
}

void Image::draw(QPainter &painter, const QRectF &target) const
{
    if (!m_data || target.isEmpty())
        return;
    if (m_data->renderer) {
        QMutexLocker lock(&m_data->rendererMutex);
        m_data->renderer->render(&painter, target);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_data->raster);
    painter.restore();
}

QImage Image::toImage(const QSize &pixelSize) const
{
    if (!m_data)
        return {};
    const QSize size = pixelSize.isEmpty() ? m_data->size.toSize() : pixelSize;
    if (!m_data->renderer && size == m_data->raster.size())
        return m_data->raster;
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return out;
}

} // namespace ui
