// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/booking/rvpassview.h"

#include "screens/booking/rvpasspdfwriter.h"

#include <QPainter>

void RVPassView::setPass(const RVBookingPass &pass)
{
    m_pass = pass;
    update();
}

void RVPassView::paintEvent(QPaintEvent *event)
{
    ui::View::paintEvent(event);
    if (!m_pass)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    RVPassPdfWriter::paint(painter, *m_pass, QRectF(rect()).adjusted(10, 10, -10, -10));
}
