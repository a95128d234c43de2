// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/rvmarkuptextframe.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace
{

// Rounding slack when deciding whether a line still fits the frame's height.
constexpr qreal FitTolerance = 0.01;

} // namespace

RVMarkupTextFrame::RVMarkupTextFrame(const RVMarkupAttributedText &text, const QSizeF &size,
                                     RVMarkupTextFrame *previous)
    : m_text(text.string()), m_width(std::max<qreal>(size.width(), 0)),
      m_paragraphs(text.paragraphs())
{
    qreal y = 0;
    qreal pendingSpacing = 0;
    m_layouts.reserve(m_paragraphs.size());
    for (const Paragraph &paragraph : std::as_const(m_paragraphs)) {
        std::unique_ptr<QTextLayout> layout =
            previous != nullptr ? previous->takeLayout(*this, paragraph) : nullptr;
        if (!layout)
            layout = layoutParagraph(paragraph);
        placeLines(*layout, paragraph, y, pendingSpacing);
        m_layouts.push_back(std::move(layout));
    }

    qreal usedWidth = 0;
    for (const Line &line : std::as_const(m_lines)) {
        const QTextLine textLine = m_layouts[line.paragraph]->lineAt(line.lineInParagraph);
        usedWidth = std::max(usedWidth, textLine.x() + textLine.naturalTextWidth());
    }
    m_suggestedSize = QSizeF(std::min(usedWidth, m_width), y);

    const qreal height = std::max<qreal>(size.height(), 0);
    while (m_visibleLines < m_lines.size()) {
        const Line &line = m_lines[m_visibleLines];
        if (line.origin.y() + line.descent + line.leading > height + FitTolerance)
            break;
        ++m_visibleLines;
    }
}

RVMarkupTextFrame::~RVMarkupTextFrame() = default;

QStringView RVMarkupTextFrame::textOf(const Paragraph &paragraph) const
{
    return QStringView(m_text).mid(paragraph.start, paragraph.length);
}

// Breaks the paragraph into lines at the frame's width; they are placed afterwards. The glyphs
// are kept (cache enabled): link areas, drawing and a later frame all use them again.
std::unique_ptr<QTextLayout> RVMarkupTextFrame::layoutParagraph(const Paragraph &paragraph) const
{
    auto layout = std::make_unique<QTextLayout>(textOf(paragraph).toString(), paragraph.font);
    layout->setCacheEnabled(true);
    layout->setTextOption(paragraph.style.textOption());
    layout->setFormats(paragraph.formats);
    layout->beginLayout();
    for (int n = 0;; ++n) {
        QTextLine line = layout->createLine();
        if (!line.isValid())
            break;
        line.setLeadingIncluded(true);
        const qreal indent = n == 0 ? paragraph.style.firstLineHeadIndent() : 0;
        line.setLineWidth(std::max<qreal>(m_width - indent, 0));
    }
    layout->endLayout();
    return layout;
}

// The layout of an equal paragraph laid out at the same width, taken out of this frame.
std::unique_ptr<QTextLayout> RVMarkupTextFrame::takeLayout(const RVMarkupTextFrame &next,
                                                           const Paragraph &paragraph)
{
    if (next.m_width != m_width)
        return nullptr;
    const QStringView text = next.textOf(paragraph);
    const size_t key = qHash(text);
    if (m_paragraphsByText.isEmpty()) {
        for (qsizetype i = 0; i < m_paragraphs.size(); ++i)
            m_paragraphsByText.insert(qHash(textOf(m_paragraphs[i])), i);
    }
    for (auto it = m_paragraphsByText.constFind(key);
         it != m_paragraphsByText.cend() && it.key() == key; ++it) {
        const Paragraph &candidate = m_paragraphs[*it];
        std::unique_ptr<QTextLayout> &layout = m_layouts[*it];
        if (layout && textOf(candidate) == text && candidate.font == paragraph.font &&
            candidate.style == paragraph.style && candidate.formats == paragraph.formats)
            return std::move(layout);
    }
    return nullptr;
}

void RVMarkupTextFrame::placeLines(QTextLayout &layout, const Paragraph &paragraph, qreal &y,
                                   qreal &pendingSpacing)
{
    for (int n = 0; n < layout.lineCount(); ++n) {
        QTextLine line = layout.lineAt(n);
        const qreal indent = n == 0 ? paragraph.style.firstLineHeadIndent() : 0;
        y += pendingSpacing;
        line.setPosition(QPointF(indent, y));
        y += line.height();
        pendingSpacing = paragraph.style.lineSpacing();
        Line info;
        info.start = paragraph.start + line.textStart();
        info.length = line.textLength();
        info.origin = QPointF(line.cursorToX(line.textStart()), line.y() + line.ascent());
        info.ascent = line.ascent();
        info.descent = line.descent();
        info.leading = std::max<qreal>(line.leading(), 0); // as the line's height counts it
        info.paragraph = qsizetype(m_layouts.size());
        info.lineInParagraph = n;
        m_lines.append(info);
    }
}

qreal RVMarkupTextFrame::offsetForStringIndex(qsizetype line, qsizetype index) const
{
    if (line < 0 || line >= m_lines.size())
        return 0;
    const Line &info = m_lines[line];
    const QTextLine textLine = m_layouts[info.paragraph]->lineAt(info.lineInParagraph);
    const qsizetype clamped = std::clamp(index, info.start, info.start + info.length);
    const int inParagraph = int(clamped - m_paragraphs[info.paragraph].start);
    return textLine.cursorToX(inParagraph) - info.origin.x();
}

RVMarkupRange RVMarkupTextFrame::visibleRange() const
{
    if (m_visibleLines == 0)
        return {};
    const Line &last = m_lines[m_visibleLines - 1];
    const RVMarkupAttributedText::Paragraph &paragraph = m_paragraphs[last.paragraph];
    qsizetype end = last.start + last.length;
    if (end == paragraph.start + paragraph.length)
        end += paragraph.separatorLength;
    return {0, end};
}

qreal RVMarkupTextFrame::frameHeight() const
{
    qreal height = 0;
    for (qsizetype i = 0; i < m_visibleLines; ++i)
        height += m_lines[i].ascent + std::abs(m_lines[i].descent) + m_lines[i].leading;
    return std::ceil(height);
}

void RVMarkupTextFrame::draw(QPainter *painter) const
{
    for (qsizetype i = 0; i < m_visibleLines; ++i) {
        const Line &line = m_lines[i];
        m_layouts[line.paragraph]->lineAt(line.lineInParagraph).draw(painter, QPointF(0, 0));
        drawSecondUnderlines(painter, line);
    }
}

// Qt draws one underline; a double underline gets its second line here, two line widths below.
void RVMarkupTextFrame::drawSecondUnderlines(QPainter *painter, const Line &line) const
{
    const RVMarkupAttributedText::Paragraph &paragraph = m_paragraphs[line.paragraph];
    const QTextLine textLine = m_layouts[line.paragraph]->lineAt(line.lineInParagraph);
    const qsizetype lineStart = line.start - paragraph.start;
    const qsizetype lineEnd = lineStart + line.length;
    for (const RVMarkupAttributedText::SecondUnderline &underline : paragraph.secondUnderlines) {
        const qsizetype from = std::max(underline.start, lineStart);
        const qsizetype to = std::min(underline.start + underline.length, lineEnd);
        if (from >= to)
            continue;
        const QFontMetricsF metrics(underline.font);
        const qreal width = std::max<qreal>(metrics.lineWidth(), 1);
        const qreal y = line.origin.y() + metrics.underlinePos() + 3 * width;
        painter->fillRect(QRectF(QPointF(textLine.cursorToX(int(from)), y),
                                 QPointF(textLine.cursorToX(int(to)), y + width)),
                          underline.color);
    }
}
