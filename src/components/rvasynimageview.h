// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/imageview.h"

#include <QString>

// An image view that shows its placeholder at once and then the picture at imageURL, filling
// its frame with the picture's proportions kept (the overflow is cropped, never stretched).
// Every picture that arrives is kept as a file in the "DoctorImage" directory of the per-user
// cache location, named after the last piece of its address, and a later request for an
// address with the same last piece is served from memory or from that file without network
// traffic. The downloads themselves and the memory cache belong to RVImageLoader, shared by
// every view. All calls belong on the main thread.
class RVAsynImageView final : public ui::ImageView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVAsynImageView)

public:
    explicit RVAsynImageView(const QRectF &frame = {}, QWidget *parent = nullptr);
    ~RVAsynImageView() override;

    QString imageURL() const { return m_imageURL; }
    void setImageURL(const QString &imageURL);
    ui::Image placeholderImage() const { return m_placeholderImage; }
    void setPlaceholderImage(const ui::Image &image);
    QString fileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }

    // Asks for imageURL unless this view already waits for it.
    void loadImage();

    bool isLoading() const { return m_loading; }
    bool isRestartPending() const;

    // The cache directory, "DoctorImage" in the per-user cache location.
    static QString cacheDirectory();
    // The cache file for an address: the piece after its last "/" inside the cache directory.
    static QString cacheFileNameForURL(const QString &imageURL);

Q_SIGNALS:
    // The downloaded picture is in its cache file and on screen.
    void imageLoaded();
    // The download was given up (refused, not a picture, or out of restarts); the placeholder
    // stays and no file was written.
    void imageLoadFailed(const QString &reason);

private:
    void stopWaiting();

    QString m_imageURL;
    ui::Image m_placeholderImage;
    QString m_fileName;
    bool m_loading = false;
};
