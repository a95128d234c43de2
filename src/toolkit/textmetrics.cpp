// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/textmetrics.h"

#include <QFontMetricsF>
#include <QTextLayout>

#include <cmath>
#include <limits>

namespace ui
{

namespace
{

struct Line {
    QString text;
    qreal width = 0;
};

QList<Line> breakParagraph(const QString &paragraph, const QFont &font, qreal width,
                           LineBreakMode mode)
{
    QList<Line> lines;
    if (paragraph.isEmpty()) {
        lines.append(Line{});
        return lines;
    }
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(mode == LineBreakMode::CharacterWrap
                           ? QTextOption::WrapAnywhere
                           : QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        const QString text = paragraph.mid(line.textStart(), line.textLength());
        lines.append(Line{text, line.naturalTextWidth()});
    }
    layout.endLayout();
    return lines;
}

QList<Line> breakText(const QString &text, const QFont &font, qreal width, LineBreakMode mode)
{
    QList<Line> lines;
    const QStringList paragraphs = text.split(u'\n');
    for (const QString &paragraph : paragraphs)
        lines.append(breakParagraph(paragraph, font, width, mode));
    return lines;
}

Qt::TextElideMode elideMode(LineBreakMode mode)
{
    switch (mode) {
    case LineBreakMode::HeadTruncation:
        return Qt::ElideLeft;
    case LineBreakMode::MiddleTruncation:
        return Qt::ElideMiddle;
    case LineBreakMode::TailTruncation:
        return Qt::ElideRight;
    default:
        return Qt::ElideNone;
    }
}

} // namespace

qreal TextMetrics::lineHeight(const QFont &font)
{
    return std::ceil(QFontMetricsF(font).lineSpacing());
}

QSizeF TextMetrics::sizeWithFont(const QString &text, const QFont &font)
{
    const qreal huge = std::numeric_limits<int>::max() / 4.0;
    return sizeWithFont(text, font, QSizeF(huge, lineHeight(font)), LineBreakMode::Clip);
}

QSizeF TextMetrics::sizeWithFont(const QString &text, const QFont &font,
                                 const QSizeF &constrainedToSize, LineBreakMode lineBreakMode)
{
    // No text takes no room: not even the one empty line it would break into.
    if (text.isEmpty())
        return {0, 0};
    const qreal lineH = lineHeight(font);
    const int fitting = std::max(1, int(std::floor(constrainedToSize.height() / lineH)));
    const QList<Line> lines = breakText(text, font, constrainedToSize.width(), lineBreakMode);
    const int count = std::min<int>(fitting, int(lines.size()));
    qreal width = 0;
    for (int i = 0; i < count; ++i)
        width = std::max(width, lines.at(i).width);
    width = std::min(std::ceil(width), constrainedToSize.width());
    return {width, lineH * count};
}

QStringList TextMetrics::wrappedLines(const QString &text, const QFont &font, qreal width,
                                      int maxLines, LineBreakMode lineBreakMode)
{
    const QList<Line> lines = breakText(text, font, width, lineBreakMode);
    QStringList result;
    const int count = maxLines > 0 ? std::min<int>(maxLines, int(lines.size())) : int(lines.size());
    for (int i = 0; i < count; ++i)
        result.append(lines.at(i).text);
    if (count < lines.size() && count > 0) {
        // Text is left over: the last shown line carries on into it and is shortened.
        QString last = result.last();
        for (int i = count; i < lines.size(); ++i)
            last += lines.at(i).text;
        if (lineBreakMode == LineBreakMode::TailTruncation)
            last = QFontMetricsF(font).elidedText(last, Qt::ElideRight, width);
        else
            last = result.last();
        result.last() = last;
    }
    for (QString &line : result) {
        while (line.endsWith(u' '))
            line.chop(1);
    }
    return result;
}

QString TextMetrics::truncated(const QString &text, const QFont &font, qreal width,
                               LineBreakMode lineBreakMode)
{
    const Qt::TextElideMode mode = elideMode(lineBreakMode);
    if (mode == Qt::ElideNone)
        return text;
    return QFontMetricsF(font).elidedText(text, mode, width);
}

} // namespace ui
