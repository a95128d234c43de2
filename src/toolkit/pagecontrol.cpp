// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/pagecontrol.h"

#include "toolkit/color.h"

#include <QMouseEvent>
#include <QPainter>

namespace ui
{

namespace
{
constexpr qreal kDot = 7;
constexpr qreal kDotSpacing = 9;
} // namespace

PageControl::PageControl(const QRectF &frame, QWidget *parent)
    : Control(frame, parent), m_dotColor(Color::colorWithWhite(1.0, 0.35)),
      m_currentDotColor(Color::whiteColor())
{
}

void PageControl::setNumberOfPages(int pages)
{
    m_numberOfPages = std::max(0, pages);
    m_currentPage = std::clamp(m_currentPage, 0, std::max(0, m_numberOfPages - 1));
    update();
}

void PageControl::setCurrentPage(int page)
{
    m_currentPage = std::clamp(page, 0, std::max(0, m_numberOfPages - 1));
    update();
}

void PageControl::setHidesForSinglePage(bool hides)
{
    m_hidesForSinglePage = hides;
    update();
}

void PageControl::setPageIndicatorTintColor(const QColor &color)
{
    m_dotColor = color;
    update();
}

void PageControl::setCurrentPageIndicatorTintColor(const QColor &color)
{
    m_currentDotColor = color;
    update();
}

void PageControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintBackground(painter);
    if (m_numberOfPages == 0 || (m_hidesForSinglePage && m_numberOfPages == 1))
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const qreal total = m_numberOfPages * kDot + (m_numberOfPages - 1) * kDotSpacing;
    qreal x = (width() - total) / 2;
    const qreal y = (height() - kDot) / 2;
    for (int page = 0; page < m_numberOfPages; ++page) {
        painter.setBrush(page == m_currentPage ? m_currentDotColor : m_dotColor);
        painter.drawEllipse(QRectF(x, y, kDot, kDot));
        x += kDot + kDotSpacing;
    }
}

void PageControl::mouseReleaseEvent(QMouseEvent *event)
{
    const bool tracking = isTracking();
    const bool inside = rect().contains(event->position().toPoint());
    Control::mouseReleaseEvent(event);
    if (!tracking || !inside)
        return;
    const int step = event->position().x() >= width() / 2.0 ? 1 : -1;
    const int page = std::clamp(m_currentPage + step, 0, std::max(0, m_numberOfPages - 1));
    if (page == m_currentPage)
        return;
    setCurrentPage(page);
    sendActionsForControlEvents(ControlEvent::ValueChanged);
}

} // namespace ui
