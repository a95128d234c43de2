// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "components/rvmarkupattributedtext.h"
#include "components/rvmarkupcomponent.h"

#include <QColor>
#include <QFont>
#include <QList>

#include <optional>

// Turns the components of a markup text into attributes of its attributed text: what each
// tag means ("b", "i", "bi", "u", "uu", "font", "p", "center", "a"), how font attributes and
// colour values are read, and which components are links. Components are applied in list
// order, so a later one wins where two set the same attribute.
class RVMarkupStyler
{
public:
    // The label's settings that tags build on.
    struct Base {
        QFont font;
        int textAlignment = 0;
        int lineBreakMode = 0;
        qreal lineSpacing = 0;
        std::optional<RVMarkupComponent::Attributes> linkAttributes;
        std::optional<RVMarkupComponent::Attributes> selectedLinkAttributes;
        int selectedComponentIndex = -1;
    };

    RVMarkupStyler(RVMarkupAttributedText &text, const Base &base);

    // Gives each component its index in the list, applies them in order and returns the
    // links (with their "href" unquoted), in the same order.
    QList<RVMarkupComponent> apply(QList<RVMarkupComponent> &components);

    // A "#" value is six hexadecimal digits, anything else a colour name; an invalid colour
    // when neither reads.
    static QColor colorFromValue(const QString &value);
    static QColor colorForHex(const QString &text);

private:
    void applyComponent(RVMarkupComponent &component, QList<RVMarkupComponent> &links);
    void applyLink(RVMarkupComponent &component, qsizetype start, qsizetype length);
    void applyFontAttributes(qsizetype start, qsizetype length,
                             const RVMarkupComponent::Attributes &attributes);
    void applyFontFace(qsizetype start, qsizetype length, const QString &face, const QString &size);
    void applyTraits(qsizetype start, qsizetype length, bool bold, bool italic);
    void applyUnderline(qsizetype start, qsizetype length,
                        RVMarkupAttributedText::Underline underline,
                        const RVMarkupComponent::Attributes &attributes);

    RVMarkupAttributedText &m_text;
    Base m_base;
};
