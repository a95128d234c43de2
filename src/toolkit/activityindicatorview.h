// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/view.h"

#include <QTimer>

namespace ui
{

enum class ActivityIndicatorViewStyle { WhiteLarge = 0, White = 1, Gray = 2 };

// The turning spinner: twelve spokes, the brightest one moving on with a timer while it
// animates. Hidden while stopped unless told otherwise.
class ActivityIndicatorView : public View
{
    Q_OBJECT

public:
    explicit ActivityIndicatorView(
        ActivityIndicatorViewStyle style = ActivityIndicatorViewStyle::White,
        QWidget *parent = nullptr);
    static ActivityIndicatorView *initWithActivityIndicatorStyle(ActivityIndicatorViewStyle style)
    {
        return new ActivityIndicatorView(style);
    }

    ActivityIndicatorViewStyle activityIndicatorViewStyle() const { return m_style; }
    void setActivityIndicatorViewStyle(ActivityIndicatorViewStyle style);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    bool hidesWhenStopped() const { return m_hidesWhenStopped; }
    void setHidesWhenStopped(bool hides);
    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return m_timer.isActive(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ActivityIndicatorViewStyle m_style;
    QColor m_color;
    QTimer m_timer;
    int m_step = 0;
    bool m_hidesWhenStopped = true;
};

} // namespace ui
