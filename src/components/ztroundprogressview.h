// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/view.h"

#include <QColor>

// The round progress indicator of the overlay, 37 by 37 points: a pie that fills clockwise
// from twelve o'clock, or, when annular, a ring whose arc grows the same way. It owns only
// its drawing state; the overlay hands it the progress.
class ZtRoundProgressView final : public ui::View
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ZtRoundProgressView)

public:
    static constexpr qreal kSide = 37;

    explicit ZtRoundProgressView(QWidget *parent = nullptr);

    float progress() const { return m_progress; }
    // Clamped to 0..1.
    void setProgress(float progress);
    QColor progressTintColor() const { return m_progressTintColor; }
    void setProgressTintColor(const QColor &color);
    QColor backgroundTintColor() const { return m_backgroundTintColor; }
    void setBackgroundTintColor(const QColor &color);
    bool isAnnular() const { return m_annular; }
    void setAnnular(bool annular);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawPie(QPainter &painter, const QRectF &circle) const;
    void drawRing(QPainter &painter, const QRectF &circle) const;

    float m_progress = 0;
    QColor m_progressTintColor;
    QColor m_backgroundTintColor;
    bool m_annular = false;
};
