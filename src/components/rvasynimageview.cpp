// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/rvasynimageview.h"
#include "components/componentslog.h"
#include "components/rvimageloader.h"

#include "toolkit/color.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

using namespace Qt::StringLiterals;

RVAsynImageView::RVAsynImageView(const QRectF &frame, QWidget *parent)
    : ui::ImageView(frame, parent)
{
    layer().setBorderColor(ui::Color::whiteColor());
    layer().setBorderWidth(2);
    setBackgroundColor(ui::Color::grayColor());
    // Photographs come in any proportion: fill the frame and crop, never distort a face.
    setContentMode(ui::ContentMode::ScaleAspectFill);
}

RVAsynImageView::~RVAsynImageView()
{
    stopWaiting();
}

QString RVAsynImageView::cacheDirectory()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (base.isEmpty())
        base = QDir::tempPath();
    return base + u"/DoctorImage"_s;
}

QString RVAsynImageView::cacheFileNameForURL(const QString &imageURL)
{
    // Only the last piece names the file: whatever host or path precedes it, two addresses
    // ending alike share one file. A piece cannot hold "/", so it never leaves the directory.
    return u"%1/%2"_s.arg(cacheDirectory(), imageURL.split(u'/').constLast());
}

void RVAsynImageView::setPlaceholderImage(const ui::Image &image)
{
    if (image == m_placeholderImage)
        return;
    m_placeholderImage = image;
    setImage(image);
}

void RVAsynImageView::setImageURL(const QString &imageURL)
{
    if (imageURL != m_imageURL) {
        // A newer address: whatever the older download brings belongs to another picture.
        stopWaiting();
        setImage(m_placeholderImage);
        m_imageURL = imageURL;
    }
    if (m_imageURL.isEmpty())
        return;
    QDir().mkpath(cacheDirectory());
    m_fileName = cacheFileNameForURL(m_imageURL);
    RVImageLoader &loader = RVImageLoader::shared();
    // Memory first: a row rebuilt while scrolling reads no file.
    if (const ui::Image cached = loader.cachedImage(m_fileName); !cached.isNull()) {
        setImage(cached);
        return;
    }
    if (QFileInfo::exists(m_fileName)) {
        setImage(loader.imageForFile(m_fileName));
        return;
    }
    loadImage();
}

bool RVAsynImageView::isRestartPending() const
{
    return m_loading && RVImageLoader::shared().isRestartPending(m_imageURL);
}

void RVAsynImageView::loadImage()
{
    if (m_loading || m_imageURL.isEmpty())
        return;
    const QUrl url(m_imageURL);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"http"_s && scheme != u"https"_s)) {
        const QString reason = u"not a web address: %1"_s.arg(m_imageURL);
        qCWarning(lcAsynImage) << "no picture from" << m_imageURL << ":" << reason;
        Q_EMIT imageLoadFailed(reason);
        return;
    }
    if (m_fileName.isEmpty())
        m_fileName = cacheFileNameForURL(m_imageURL);
    m_loading = true;
    RVImageLoader::shared().fetch(m_imageURL, m_fileName, this,
                                  [this](const ui::Image &image, const QString &failure) {
                                      m_loading = false;
                                      if (!failure.isEmpty()) {
                                          Q_EMIT imageLoadFailed(failure);
                                          return;
                                      }
                                      setImage(image);
                                      Q_EMIT imageLoaded();
                                  });
}

void RVAsynImageView::stopWaiting()
{
    if (!m_loading)
        return;
    m_loading = false;
    RVImageLoader::shared().cancel(m_imageURL, this);
}
