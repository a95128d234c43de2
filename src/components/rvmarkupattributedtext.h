// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "components/rvmarkupparagraphstyle.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextLayout>

// A plain text with character attributes set over ranges, each new setting replacing the
// previous one of the same kind and leaving the others alone: font, colour, underline and its
// colour, stroke width, kerning and paragraph style. The label builds one on every layout and
// hands its paragraphs, already split into format runs, to the text frame.
class RVMarkupAttributedText
{
public:
    enum Underline { NoUnderline = 0, SingleUnderline = 1, DoubleUnderline = 9 };

    // A double underline is drawn by the frame as a second line under Qt's single one.
    struct SecondUnderline {
        qsizetype start = 0; // within the paragraph
        qsizetype length = 0;
        QColor color;
        QFont font;
    };

    struct Paragraph {
        qsizetype start = 0;
        qsizetype length = 0;          // without the separator
        qsizetype separatorLength = 0; // "\n", "\r", "\r\n" or U+2029; 0 at the end
        QFont font;                    // font of the first character: sets an empty line's height
        RVMarkupParagraphStyle style;  // style of the first character governs the paragraph
        QList<QTextLayout::FormatRange> formats;
        QList<SecondUnderline> secondUnderlines;
    };

    RVMarkupAttributedText(const QString &text, const QFont &font, const QColor &color,
                           const RVMarkupParagraphStyle &style);

    const QString &string() const { return m_text; }
    qsizetype length() const { return m_text.size(); }
    // The font at a character; the base font outside the text.
    QFont fontAt(qsizetype index) const;

    // Ranges are clipped to the text, so components from elsewhere cannot reach outside it.
    void setFont(qsizetype start, qsizetype length, const QFont &font);
    void setColor(qsizetype start, qsizetype length, const QColor &color);
    void setUnderline(qsizetype start, qsizetype length, Underline underline);
    void setUnderlineColor(qsizetype start, qsizetype length, const QColor &color);
    // Percent of the font size, as text strokes are given: positive draws the outline only,
    // negative fills and outlines.
    void setStrokeWidth(qsizetype start, qsizetype length, int width);
    void setKern(qsizetype start, qsizetype length, int kern);
    void setParagraphStyle(qsizetype start, qsizetype length, const RVMarkupParagraphStyle &style);

    QList<Paragraph> paragraphs() const;

private:
    struct CharStyle {
        int font = 0;
        int color = 0;
        int underlineColor = -1;
        int stroke = 0;
        int kern = 0;
        int paragraph = 0;
        int underline = NoUnderline;
        friend bool operator==(const CharStyle &, const CharStyle &) = default;
        friend size_t qHash(const CharStyle &s, size_t seed = 0)
        {
            return qHashMulti(seed, s.font, s.color, s.underlineColor, s.stroke, s.kern,
                              s.paragraph, s.underline);
        }
    };
    using FormatCache = QHash<CharStyle, QTextCharFormat>;

    template <typename Setter> void forRange(qsizetype start, qsizetype length, Setter set);
    int fontIndex(const QFont &font);
    int colorIndex(const QColor &color);
    QTextCharFormat charFormat(const CharStyle &style) const;
    Paragraph paragraph(qsizetype start, qsizetype length, qsizetype separatorLength,
                        FormatCache &formats) const;

    QString m_text;
    QList<CharStyle> m_styles;
    // Equal settings share one table entry, so that equal runs share one format: Qt caches a
    // format's resolved font in the format, which saves most of the layout's font lookups.
    QList<QFont> m_fonts;
    QHash<QFont, int> m_fontIndexes;
    QList<QColor> m_colors;
    QList<RVMarkupParagraphStyle> m_paragraphStyles;
};
