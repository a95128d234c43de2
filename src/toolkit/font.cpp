// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/font.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <cmath>

using namespace Qt::StringLiterals;

namespace ui
{

namespace
{
QFont makeFont(qreal pointSize, QFont::Weight weight, bool italic)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(std::max(1, int(std::lround(pointSize))));
    font.setWeight(weight);
    font.setItalic(italic);
    return font;
}
} // namespace

QFont Font::systemFontOfSize(qreal pointSize)
{
    return makeFont(pointSize, QFont::Normal, false);
}

QFont Font::boldSystemFontOfSize(qreal pointSize)
{
    return makeFont(pointSize, QFont::Bold, false);
}

QFont Font::italicSystemFontOfSize(qreal pointSize)
{
    return makeFont(pointSize, QFont::Normal, true);
}

QFont Font::fontWithName(const QString &name, qreal pointSize)
{
    const QString lower = name.toLower();
    const bool bold = lower.contains(u"bold") || lower.contains(u"heavy");
    const bool italic = lower.contains(u"italic") || lower.contains(u"oblique");
    QFont font = makeFont(pointSize, bold ? QFont::Bold : QFont::Normal, italic);
    const QString family = name.section(u'-', 0, 0);
    if (!family.isEmpty() && QFontDatabase::hasFamily(family))
        font.setFamily(family);
    return font;
}

QString Font::fontName(const QFont &font)
{
    const bool bold = font.weight() >= QFont::DemiBold;
    const bool italic = font.italic();
    if (!bold && !italic)
        return font.family();
    return font.family() + u'-' + (bold ? u"Bold"_s : QString()) +
           (italic ? u"Italic"_s : QString());
}

qreal Font::pointSize(const QFont &font)
{
    return font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF();
}

} // namespace ui
