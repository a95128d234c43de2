// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/view.h"

#include <QColor>

// The horizontal bar indicator of the overlay, 120 by 20 points: a rounded outline whose
// inside fills from the left with the progress. It owns only its drawing state.
class ZtBarProgressView final : public ui::View
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ZtBarProgressView)

public:
    static constexpr qreal kWidth = 120;
    static constexpr qreal kHeight = 20;

    explicit ZtBarProgressView(QWidget *parent = nullptr);

    float progress() const { return m_progress; }
    // Clamped to 0..1.
    void setProgress(float progress);
    QColor lineColor() const { return m_lineColor; }
    void setLineColor(const QColor &color);
    QColor progressColor() const { return m_progressColor; }
    void setProgressColor(const QColor &color);
    QColor progressRemainingColor() const { return m_progressRemainingColor; }
    void setProgressRemainingColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    float m_progress = 0;
    QColor m_lineColor;
    QColor m_progressColor;
    QColor m_progressRemainingColor;
};
