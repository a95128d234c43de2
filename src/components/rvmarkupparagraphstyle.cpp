// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/rvmarkupparagraphstyle.h"

#include "components/rvmarkupparser.h"

#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace
{

// An indent wider than any screen only pushes the text out of sight, and a negative one would
// push it out on the left; bound it so that arithmetic on it stays finite.
constexpr qreal MaxIndent = 10000;

int indexOfName(const QStringList &names, const QString &value, int fallback)
{
    const qsizetype index = names.indexOf(value.toLower());
    return index < 0 ? fallback : int(index);
}

} // namespace

RVMarkupParagraphStyle::RVMarkupParagraphStyle(int alignment, int lineBreakMode, qreal lineSpacing)
    : m_alignment(std::clamp(alignment, int(Left), int(Justified))),
      m_lineBreakMode(std::clamp(lineBreakMode, int(WordWrap), int(TruncatingMiddle))),
      m_lineSpacing(lineSpacing)
{
}

RVMarkupParagraphStyle
RVMarkupParagraphStyle::fromAttributes(const RVMarkupComponent::Attributes &attributes,
                                       const RVMarkupParagraphStyle &base)
{
    static const QStringList alignments{u"left"_s, u"right"_s, u"center"_s, u"justify"_s};
    static const QStringList breakModes{u"wordwrap"_s,       u"charwrap"_s,
                                        u"clipping"_s,       u"truncatinghead"_s,
                                        u"truncatingtail"_s, u"truncatingmiddle"_s};
    RVMarkupParagraphStyle style = base;
    for (auto it = attributes.cbegin(); it != attributes.cend(); ++it) {
        const QString key = it.key().toLower();
        if (key == u"align")
            style.m_alignment = indexOfName(alignments, it.value(), style.m_alignment);
        else if (key == u"indent")
            style.setFirstLineHeadIndent(RVMarkupParser::doubleValue(it.value()));
        else if (key == u"linebreakmode")
            style.m_lineBreakMode = indexOfName(breakModes, it.value(), style.m_lineBreakMode);
    }
    return style;
}

void RVMarkupParagraphStyle::setFirstLineHeadIndent(qreal indent)
{
    m_firstLineHeadIndent = std::clamp(indent, qreal(0), MaxIndent);
}

QTextOption RVMarkupParagraphStyle::textOption() const
{
    static constexpr Qt::Alignment flags[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter,
                                              Qt::AlignJustify};
    QTextOption option(flags[m_alignment] | Qt::AlignAbsolute);
    option.setTextDirection(Qt::LeftToRight);
    // Word wrapping still breaks a word longer than the line, as the label always did.
    option.setWrapMode(m_lineBreakMode == CharWrap   ? QTextOption::WrapAnywhere
                       : m_lineBreakMode == WordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                                     : QTextOption::NoWrap);
    return option;
}
