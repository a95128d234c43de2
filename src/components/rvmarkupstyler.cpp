// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/rvmarkupstyler.h"

#include "components/rvmarkupparser.h"

#include <QFontDatabase>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace
{

// Glyphs beyond this size only cost memory and time; smaller than one pixel is no font.
constexpr int MaxFontSize = 512;

QString withoutSingleQuotes(QString value)
{
    return value.remove(u'\'');
}

std::optional<int> fontSize(const QString &value)
{
    const int size = RVMarkupParser::intValue(value);
    if (size < 1)
        return std::nullopt;
    return std::min(size, MaxFontSize);
}

} // namespace

RVMarkupStyler::RVMarkupStyler(RVMarkupAttributedText &text, const Base &base)
    : m_text(text), m_base(base)
{
}

QList<RVMarkupComponent> RVMarkupStyler::apply(QList<RVMarkupComponent> &components)
{
    QList<RVMarkupComponent> links;
    for (qsizetype i = 0; i < components.size(); ++i) {
        components[i].setComponentIndex(int(i));
        applyComponent(components[i], links);
    }
    return links;
}

void RVMarkupStyler::applyComponent(RVMarkupComponent &component, QList<RVMarkupComponent> &links)
{
    // An unclosed tag has no range and styles nothing.
    if (!component.text())
        return;
    const qsizetype start = component.position();
    const qsizetype length = component.length();
    const QString tag = component.tagLabel().toLower();
    const RVMarkupParagraphStyle base(m_base.textAlignment, m_base.lineBreakMode,
                                      m_base.lineSpacing);
    if (tag == u"b" || tag == u"i" || tag == u"bi") {
        applyTraits(start, length, tag != u"i", tag != u"b");
    } else if (tag == u"u" || tag == u"uu") {
        applyUnderline(start, length,
                       tag == u"u" ? RVMarkupAttributedText::SingleUnderline
                                   : RVMarkupAttributedText::DoubleUnderline,
                       component.attributes());
    } else if (tag == u"font") {
        applyFontAttributes(start, length, component.attributes());
    } else if (tag == u"p") {
        m_text.setParagraphStyle(
            start, length, RVMarkupParagraphStyle::fromAttributes(component.attributes(), base));
    } else if (tag == u"center") {
        m_text.setParagraphStyle(start, length,
                                 RVMarkupParagraphStyle(RVMarkupParagraphStyle::Center,
                                                        m_base.lineBreakMode, m_base.lineSpacing));
    } else if (tag == u"a") {
        applyLink(component, start, length);
        links.append(component);
    }
}

void RVMarkupStyler::applyLink(RVMarkupComponent &component, qsizetype start, qsizetype length)
{
    if (component.componentIndex() == m_base.selectedComponentIndex) {
        if (m_base.selectedLinkAttributes) {
            applyFontAttributes(start, length, *m_base.selectedLinkAttributes);
        } else {
            applyTraits(start, length, true, false);
            m_text.setColor(start, length, colorForHex(u"#FF0000"_s));
        }
    } else if (m_base.linkAttributes) {
        applyFontAttributes(start, length, *m_base.linkAttributes);
    } else {
        applyTraits(start, length, true, false);
        m_text.setUnderline(start, length, RVMarkupAttributedText::SingleUnderline);
    }
    RVMarkupComponent::Attributes attributes = component.attributes();
    if (attributes.contains(u"href"_s)) {
        attributes.insert(u"href"_s, withoutSingleQuotes(attributes.value(u"href"_s)));
        component.setAttributes(attributes);
    }
}

void RVMarkupStyler::applyFontAttributes(qsizetype start, qsizetype length,
                                         const RVMarkupComponent::Attributes &attributes)
{
    QString face;
    QString size;
    QString style;
    for (auto it = attributes.cbegin(); it != attributes.cend(); ++it) {
        const QString value = withoutSingleQuotes(it.value());
        if (it.key() == u"color") {
            const QColor color = colorFromValue(value);
            if (color.isValid())
                m_text.setColor(start, length, color);
        } else if (it.key() == u"stroke") {
            m_text.setStrokeWidth(start, length, RVMarkupParser::intValue(value));
        } else if (it.key() == u"kern") {
            m_text.setKern(start, length, RVMarkupParser::intValue(value));
        } else if (it.key() == u"underline") {
            const int kind = RVMarkupParser::intValue(value);
            if (kind == 1 || kind == 2)
                m_text.setUnderline(start, length,
                                    kind == 1 ? RVMarkupAttributedText::SingleUnderline
                                              : RVMarkupAttributedText::DoubleUnderline);
        } else if (it.key() == u"face") {
            face = value;
        } else if (it.key() == u"size") {
            size = value;
        } else if (it.key() == u"style") {
            style = value;
        }
    }
    // Face and size first, so that a style in the same tag makes that font bold or italic
    // instead of being replaced by it.
    applyFontFace(start, length, face, size);
    if (style == u"bold" || style == u"italic")
        applyTraits(start, length, style == u"bold", style == u"italic");
}

void RVMarkupStyler::applyFontFace(qsizetype start, qsizetype length, const QString &face,
                                   const QString &size)
{
    if (face.isEmpty() && size.isEmpty())
        return;
    if (!face.isEmpty() && !QFontDatabase::hasFamily(face))
        return;
    QFont font = m_base.font;
    if (!face.isEmpty())
        font.setFamilies({face});
    if (!size.isEmpty()) {
        const std::optional<int> pixels = fontSize(size);
        if (!pixels)
            return;
        font.setPixelSize(*pixels);
    }
    m_text.setFont(start, length, font);
}

// Bold and italic are variants of the font the range starts with, as the font tags left it.
void RVMarkupStyler::applyTraits(qsizetype start, qsizetype length, bool bold, bool italic)
{
    QFont font = m_text.fontAt(start);
    if (bold)
        font.setBold(true);
    if (italic)
        font.setItalic(true);
    m_text.setFont(start, length, font);
}

void RVMarkupStyler::applyUnderline(qsizetype start, qsizetype length,
                                    RVMarkupAttributedText::Underline underline,
                                    const RVMarkupComponent::Attributes &attributes)
{
    m_text.setUnderline(start, length, underline);
    if (!attributes.contains(u"color"_s))
        return;
    const QColor color = colorFromValue(withoutSingleQuotes(attributes.value(u"color"_s)));
    if (color.isValid())
        m_text.setUnderlineColor(start, length, color);
}

QColor RVMarkupStyler::colorFromValue(const QString &value)
{
    if (value.startsWith(u'#'))
        return colorForHex(value);
    if (!QColor::isValidColorName(value))
        return {};
    return QColor::fromString(value);
}

QColor RVMarkupStyler::colorForHex(const QString &text)
{
    const auto rgba = RVMarkupParser::hexColorComponents(text);
    if (!rgba)
        return {};
    return QColor::fromRgbF(float((*rgba)[0]), float((*rgba)[1]), float((*rgba)[2]),
                            float((*rgba)[3]));
}
