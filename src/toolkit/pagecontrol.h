// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/control.h"

namespace ui
{

// A row of dots, one per page, the current one lit. A tap right of the centre moves one page
// on, left of it one page back, and sends the value-changed actions.
class PageControl : public Control
{
    Q_OBJECT

public:
    explicit PageControl(const QRectF &frame = {}, QWidget *parent = nullptr);

    int numberOfPages() const { return m_numberOfPages; }
    void setNumberOfPages(int pages);
    // Clamped to the pages there are.
    int currentPage() const { return m_currentPage; }
    void setCurrentPage(int page);
    bool hidesForSinglePage() const { return m_hidesForSinglePage; }
    void setHidesForSinglePage(bool hides);
    QColor pageIndicatorTintColor() const { return m_dotColor; }
    void setPageIndicatorTintColor(const QColor &color);
    QColor currentPageIndicatorTintColor() const { return m_currentDotColor; }
    void setCurrentPageIndicatorTintColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_numberOfPages = 0;
    int m_currentPage = 0;
    bool m_hidesForSinglePage = false;
    QColor m_dotColor;
    QColor m_currentDotColor;
};

} // namespace ui
