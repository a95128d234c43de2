// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/rvmarkuplinkbutton.h"

#include <QMouseEvent>

RVMarkupLinkButton::RVMarkupLinkButton(QWidget *parent) : QAbstractButton(parent)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void RVMarkupLinkButton::paintEvent(QPaintEvent *)
{
    // Fully transparent: the label underneath draws the link.
}

void RVMarkupLinkButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setDown(true);
    event->accept();
    Q_EMIT touchDown(this);
}

void RVMarkupLinkButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !isDown()) {
        event->ignore();
        return;
    }
    setDown(false);
    event->accept();
    // Emitted last: the receiver may replace this button.
    if (rect().contains(event->position().toPoint()))
        Q_EMIT touchUpInside(this);
    else
        Q_EMIT touchUpOutside(this);
}
