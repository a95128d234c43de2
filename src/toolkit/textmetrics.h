// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QFont>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace ui
{

enum class TextAlignment { Left = 0, Center = 1, Right = 2 };

enum class LineBreakMode {
    WordWrap = 0,
    CharacterWrap = 1,
    Clip = 2,
    HeadTruncation = 3,
    TailTruncation = 4,
    MiddleTruncation = 5,
};

// Measures and breaks text the way labels draw it: lines break at word boundaries (or
// between any two characters, as Chinese text needs), explicit line feeds start a new line,
// and one line is QFontMetricsF::lineSpacing() high. Sizes are rounded up to whole points; an
// absent or empty text measures 0 by 0.
class TextMetrics final
{
public:
    TextMetrics() = delete;

    static qreal lineHeight(const QFont &font);
    // One line, no wrapping.
    static QSizeF sizeWithFont(const QString &text, const QFont &font);
    // Wrapped within the width of the constraint; only as many whole lines as fit within its
    // height count (at least one).
    static QSizeF sizeWithFont(const QString &text, const QFont &font,
                               const QSizeF &constrainedToSize,
                               LineBreakMode lineBreakMode = LineBreakMode::WordWrap);
    // The lines of the text wrapped at the width; with maxLines > 0 at most that many, the
    // last one shortened by the break mode when text is left over.
    static QStringList wrappedLines(const QString &text, const QFont &font, qreal width,
                                    int maxLines, LineBreakMode lineBreakMode);
    // One line shortened to the width by the break mode (clip keeps it whole).
    static QString truncated(const QString &text, const QFont &font, qreal width,
                             LineBreakMode lineBreakMode);
};

} // namespace ui
