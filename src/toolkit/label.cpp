// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/label.h"

#include "toolkit/font.h"

#include <QPainter>

namespace ui
{

Label::Label(const QRectF &frame, QWidget *parent)
    : View(frame, parent), m_font(Font::systemFontOfSize(17))
{
}

void Label::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    update();
    accessibilityLabelDidChange();
}

void Label::setFont(const QFont &font)
{
    m_font = font;
    update();
}

void Label::setTextColor(const QColor &color)
{
    m_textColor = color;
    update();
}

void Label::setHighlightedTextColor(const QColor &color)
{
    m_highlightedTextColor = color;
    update();
}

void Label::setHighlighted(bool highlighted)
{
    m_highlighted = highlighted;
    update();
}

void Label::setTextAlignment(TextAlignment alignment)
{
    m_alignment = alignment;
    update();
}

void Label::setNumberOfLines(int lines)
{
    m_numberOfLines = std::max(0, lines);
    update();
}

void Label::setLineBreakMode(LineBreakMode mode)
{
    m_lineBreakMode = mode;
    update();
}

void Label::setShadowColor(const QColor &color)
{
    m_shadowColor = color;
    update();
}

void Label::setShadowOffset(const QSizeF &offset)
{
    m_shadowOffset = offset;
    update();
}

QStringList Label::displayedLines() const
{
    const qreal width = frame().width();
    if (m_text.isEmpty())
        return {};
    if (m_numberOfLines == 1) {
        QString line = m_text;
        line.replace(u'\n', u' ');
        return {TextMetrics::truncated(line, m_font, width, m_lineBreakMode)};
    }
    // Only as many lines as fit the label's height are shown, as many as the text needs when
    // the number of lines is 0.
    const int fitting = std::max(1, int(frame().height() / TextMetrics::lineHeight(m_font)));
    const int maxLines = m_numberOfLines == 0 ? fitting : std::min(m_numberOfLines, fitting);
    return TextMetrics::wrappedLines(m_text, m_font, width, maxLines, m_lineBreakMode);
}

void Label::sizeToFit()
{
    QSizeF size;
    if (m_numberOfLines == 1) {
        size = TextMetrics::sizeWithFont(m_text, m_font);
    } else {
        const qreal lineH = TextMetrics::lineHeight(m_font);
        const qreal maxH = m_numberOfLines == 0 ? 1e7 : lineH * m_numberOfLines;
        const qreal width = frame().width() > 0 ? frame().width() : 1e7;
        size = TextMetrics::sizeWithFont(m_text, m_font, QSizeF(width, maxH), m_lineBreakMode);
    }
    setFrame(QRectF(frame().topLeft(), size));
}

void Label::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintBackground(painter);
    const QStringList lines = displayedLines();
    if (lines.isEmpty())
        return;
    painter.setFont(m_font);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const qreal lineH = TextMetrics::lineHeight(m_font);
    const qreal blockH = lineH * lines.size();
    qreal y = (height() - blockH) / 2;
    Qt::Alignment align = Qt::AlignVCenter;
    align |= m_alignment == TextAlignment::Center  ? Qt::AlignHCenter
             : m_alignment == TextAlignment::Right ? Qt::AlignRight
                                                   : Qt::AlignLeft;
    const QColor color =
        m_highlighted && m_highlightedTextColor.isValid() ? m_highlightedTextColor : m_textColor;
    for (const QString &line : lines) {
        const QRectF lineRect(0, y, width(), lineH);
        if (m_shadowColor.isValid() && m_shadowColor.alpha() > 0) {
            painter.setPen(m_shadowColor);
            painter.drawText(lineRect.translated(m_shadowOffset.width(), m_shadowOffset.height()),
                             int(align), line);
        }
        painter.setPen(color);
        painter.drawText(lineRect, int(align), line);
        y += lineH;
    }
}

} // namespace ui
