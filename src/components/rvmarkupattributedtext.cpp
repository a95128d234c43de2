// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/rvmarkupattributedtext.h"

#include <QPen>

#include <algorithm>

RVMarkupAttributedText::RVMarkupAttributedText(const QString &text, const QFont &font,
                                               const QColor &color,
                                               const RVMarkupParagraphStyle &style)
    : m_text(text), m_styles(text.size()), m_fonts{font}, m_fontIndexes{{font, 0}}, m_colors{color},
      m_paragraphStyles{style}
{
}

int RVMarkupAttributedText::fontIndex(const QFont &font)
{
    const auto found = m_fontIndexes.constFind(font);
    if (found != m_fontIndexes.cend())
        return *found;
    m_fonts.append(font);
    m_fontIndexes.insert(font, int(m_fonts.size() - 1));
    return int(m_fonts.size() - 1);
}

int RVMarkupAttributedText::colorIndex(const QColor &color)
{
    const qsizetype found = m_colors.indexOf(color);
    if (found >= 0)
        return int(found);
    m_colors.append(color);
    return int(m_colors.size() - 1);
}

QFont RVMarkupAttributedText::fontAt(qsizetype index) const
{
    if (index < 0 || index >= m_styles.size())
        return m_fonts.first();
    return m_fonts[m_styles[index].font];
}

template <typename Setter>
void RVMarkupAttributedText::forRange(qsizetype start, qsizetype length, Setter set)
{
    const qsizetype from = std::clamp<qsizetype>(start, 0, m_styles.size());
    const qsizetype to =
        std::clamp<qsizetype>(start + std::max<qsizetype>(length, 0), from, m_styles.size());
    for (qsizetype i = from; i < to; ++i)
        set(m_styles[i]);
}

void RVMarkupAttributedText::setFont(qsizetype start, qsizetype length, const QFont &font)
{
    const int index = fontIndex(font);
    forRange(start, length, [index](CharStyle &s) { s.font = index; });
}

void RVMarkupAttributedText::setColor(qsizetype start, qsizetype length, const QColor &color)
{
    const int index = colorIndex(color);
    forRange(start, length, [index](CharStyle &s) { s.color = index; });
}

void RVMarkupAttributedText::setUnderline(qsizetype start, qsizetype length, Underline underline)
{
    forRange(start, length, [underline](CharStyle &s) { s.underline = underline; });
}

void RVMarkupAttributedText::setUnderlineColor(qsizetype start, qsizetype length,
                                               const QColor &color)
{
    const int index = colorIndex(color);
    forRange(start, length, [index](CharStyle &s) { s.underlineColor = index; });
}

void RVMarkupAttributedText::setStrokeWidth(qsizetype start, qsizetype length, int width)
{
    // Beyond a stroke as wide as the glyphs there is nothing left to see but the cost of
    // stroking it.
    const int bounded = std::clamp(width, -100, 100);
    forRange(start, length, [bounded](CharStyle &s) { s.stroke = bounded; });
}

void RVMarkupAttributedText::setKern(qsizetype start, qsizetype length, int kern)
{
    const int bounded = std::clamp(kern, -1000, 1000);
    forRange(start, length, [bounded](CharStyle &s) { s.kern = bounded; });
}

void RVMarkupAttributedText::setParagraphStyle(qsizetype start, qsizetype length,
                                               const RVMarkupParagraphStyle &style)
{
    qsizetype index = m_paragraphStyles.indexOf(style);
    if (index < 0) {
        m_paragraphStyles.append(style);
        index = m_paragraphStyles.size() - 1;
    }
    forRange(start, length, [index](CharStyle &s) { s.paragraph = int(index); });
}

QList<RVMarkupAttributedText::Paragraph> RVMarkupAttributedText::paragraphs() const
{
    QList<Paragraph> result;
    FormatCache formats;
    qsizetype start = 0;
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        const char16_t c = m_text[i].unicode();
        if (c != u'\n' && c != u'\r' && c != u'\x2029')
            continue;
        const qsizetype separator =
            (c == u'\r' && i + 1 < m_text.size() && m_text[i + 1] == u'\n') ? 2 : 1;
        result.append(paragraph(start, i - start, separator, formats));
        i += separator - 1;
        start = i + 1;
    }
    if (start < m_text.size())
        result.append(paragraph(start, m_text.size() - start, 0, formats));
    return result;
}

RVMarkupAttributedText::Paragraph RVMarkupAttributedText::paragraph(qsizetype start,
                                                                    qsizetype length,
                                                                    qsizetype separator,
                                                                    FormatCache &formats) const
{
    Paragraph p;
    p.start = start;
    p.length = length;
    p.separatorLength = separator;
    const CharStyle &first = m_styles[start];
    p.font = m_fonts[first.font];
    p.style = m_paragraphStyles[first.paragraph];
    for (qsizetype runStart = start; runStart < start + length;) {
        const CharStyle &style = m_styles[runStart];
        qsizetype runEnd = runStart + 1;
        while (runEnd < start + length && m_styles[runEnd] == style)
            ++runEnd;
        auto format = formats.find(style);
        if (format == formats.end())
            format = formats.insert(style, charFormat(style));
        p.formats.append({int(runStart - start), int(runEnd - runStart), *format});
        if (style.underline == DoubleUnderline) {
            const QColor color =
                m_colors[style.underlineColor < 0 ? style.color : style.underlineColor];
            p.secondUnderlines.append(
                {runStart - start, runEnd - runStart, color, m_fonts[style.font]});
        }
        runStart = runEnd;
    }
    return p;
}

QTextCharFormat RVMarkupAttributedText::charFormat(const CharStyle &style) const
{
    QTextCharFormat format;
    QFont font = m_fonts[style.font];
    if (style.kern != 0)
        font.setLetterSpacing(QFont::AbsoluteSpacing, style.kern);
    format.setFont(font, QTextCharFormat::FontPropertiesAll);
    const QColor color = m_colors[style.color];
    if (style.stroke != 0) {
        const qreal size = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF();
        format.setTextOutline(QPen(color, std::abs(style.stroke) * size / 100.0));
    }
    format.setForeground(style.stroke > 0 ? QColor(Qt::transparent) : color);
    if (style.underline != NoUnderline) {
        format.setFontUnderline(true);
        if (style.underlineColor >= 0)
            format.setUnderlineColor(m_colors[style.underlineColor]);
    }
    return format;
}
