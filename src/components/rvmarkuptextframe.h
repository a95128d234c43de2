// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "components/rvmarkupattributedtext.h"
#include "components/rvmarkuprange.h"

#include <QList>
#include <QMultiHash>
#include <QPointF>
#include <QSizeF>
#include <QTextLayout>

#include <memory>
#include <vector>

class QPainter;

// The text of a markup label laid out at the label's width: one QTextLayout per paragraph,
// lines stacked from the top with the paragraph's line spacing between them. Lines are laid
// out without a height limit, so the size the whole text needs comes from the same pass;
// only the lines that fit the label's height count as the frame's lines and are drawn.
// A label lays its text out on every paint and every size query, mostly unchanged: a frame
// takes over from the previous one the layouts (shaped glyphs and line breaks) of the
// paragraphs whose text, formats, style and width are the same, and only moves their lines.
class RVMarkupTextFrame
{
public:
    struct Line {
        qsizetype start = 0; // in the plain text
        qsizetype length = 0;
        QPointF origin; // left end of the baseline, in the label's coordinates
        qreal ascent = 0;
        qreal descent = 0;
        qreal leading = 0;
        qsizetype paragraph = 0;
        int lineInParagraph = 0;
    };

    // Takes over what it can of previous, which is left without those layouts.
    RVMarkupTextFrame(const RVMarkupAttributedText &text, const QSizeF &size,
                      RVMarkupTextFrame *previous = nullptr);
    ~RVMarkupTextFrame();
    RVMarkupTextFrame(const RVMarkupTextFrame &) = delete;
    RVMarkupTextFrame &operator=(const RVMarkupTextFrame &) = delete;

    // The lines that fit the frame's height, top to bottom.
    QList<Line> lines() const { return m_lines.first(m_visibleLines); }
    // Horizontal distance from a line's origin to the edge of a character of the plain text;
    // indexes outside the line are taken as the line's nearer end.
    qreal offsetForStringIndex(qsizetype line, qsizetype index) const;
    // The part of the plain text whose lines fit, separators of fitting paragraphs included.
    RVMarkupRange visibleRange() const;
    // Width and height the whole text needs at the frame's width with no height limit.
    QSizeF suggestedSize() const { return m_suggestedSize; }
    // Sum of ascent, descent and leading of the fitting lines, raised to a whole number.
    qreal frameHeight() const;

    void draw(QPainter *painter) const;

private:
    using Paragraph = RVMarkupAttributedText::Paragraph;

    std::unique_ptr<QTextLayout> layoutParagraph(const Paragraph &paragraph) const;
    std::unique_ptr<QTextLayout> takeLayout(const RVMarkupTextFrame &next,
                                            const Paragraph &paragraph);
    QStringView textOf(const Paragraph &paragraph) const;
    void placeLines(QTextLayout &layout, const Paragraph &paragraph, qreal &y,
                    qreal &pendingSpacing);
    void drawSecondUnderlines(QPainter *painter, const Line &line) const;

    QString m_text;
    qreal m_width = 0;
    QList<Paragraph> m_paragraphs;
    std::vector<std::unique_ptr<QTextLayout>> m_layouts;
    QMultiHash<size_t, qsizetype> m_paragraphsByText; // filled when a next frame first asks
    QList<Line> m_lines;
    qsizetype m_visibleLines = 0;
    QSizeF m_suggestedSize;
};
