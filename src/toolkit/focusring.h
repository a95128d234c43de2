// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QWidget>

namespace ui
{

// The mark of the keyboard's focus: a blue ring lined in white, seen on light and dark
// backgrounds alike. Views draw it around themselves with paint(); a list lays the widget
// over its current row, where the row's own drawing cannot be asked to. The widget lets
// every touch through and is no view (it shows in no list of subviews).
class FocusRing final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FocusRing)

public:
    explicit FocusRing(QWidget *parent = nullptr);

    static void paint(QPainter &painter, const QRectF &rect, qreal radius = 0);
    // Over `rect` of the parent, shown or not.
    void place(const QRect &rect, bool shown);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace ui
