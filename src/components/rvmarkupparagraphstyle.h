// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "components/rvmarkupcomponent.h"

#include <QTextOption>

// How one paragraph of a markup label is set: alignment, line breaking, first-line indent and
// the space between lines. The codes are the label's public ones (alignment 0 left, 1 right,
// 2 centre, 3 justified; line breaking 0 word wrap to 5 truncate middle).
class RVMarkupParagraphStyle
{
public:
    enum Alignment { Left = 0, Right = 1, Center = 2, Justified = 3 };
    enum LineBreakMode {
        WordWrap = 0,
        CharWrap = 1,
        Clipping = 2,
        TruncatingHead = 3,
        TruncatingTail = 4,
        TruncatingMiddle = 5
    };

    RVMarkupParagraphStyle() = default;
    RVMarkupParagraphStyle(int alignment, int lineBreakMode, qreal lineSpacing);

    // The base style with the "align", "indent" and "linebreakmode" attributes of a "p" tag
    // applied (keys and values case-insensitive); unknown keys and values change nothing.
    static RVMarkupParagraphStyle fromAttributes(const RVMarkupComponent::Attributes &attributes,
                                                 const RVMarkupParagraphStyle &base);

    int alignment() const { return m_alignment; }
    int lineBreakMode() const { return m_lineBreakMode; }
    qreal lineSpacing() const { return m_lineSpacing; }
    qreal firstLineHeadIndent() const { return m_firstLineHeadIndent; }
    void setFirstLineHeadIndent(qreal indent);

    // Whether lines wrap at all; the clipping and truncating modes keep a paragraph on one line.
    bool wraps() const { return m_lineBreakMode == WordWrap || m_lineBreakMode == CharWrap; }
    QTextOption textOption() const;

    friend bool operator==(const RVMarkupParagraphStyle &,
                           const RVMarkupParagraphStyle &) = default;

private:
    int m_alignment = Left;
    int m_lineBreakMode = WordWrap;
    qreal m_lineSpacing = 0;
    qreal m_firstLineHeadIndent = 0;
};
