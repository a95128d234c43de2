// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
//
// libFuzzer harness for the markup parser. The first input byte picks the paragraph
// replacement; the rest is the markup, read once as UTF-8 and once as raw UTF-16 (so that
// lone surrogates and any code unit reach the parser). Besides memory errors it stops on any
// result that breaks the parser's invariants.
#include "components/rvmarkupparser.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace Qt::StringLiterals;

namespace
{

void require(bool condition)
{
    if (!condition)
        std::abort();
}

bool hasTag(const QString &markup)
{
    const qsizetype open = markup.indexOf(u'<');
    return open >= 0 && markup.indexOf(u'>', open) >= 0;
}

void check(const QString &markup, const QString &replacement)
{
    const RVMarkupExtractedComponent result =
        RVMarkupParser::extractTextStyleFromText(markup, replacement);
    require(RVMarkupParser::isConsistent(result));
    require(result.textComponents().size() <= markup.count(u'<'));
    if (!hasTag(markup)) {
        require(result.plainText() == markup);
        require(result.textComponents().isEmpty());
    }
    // Attribute values are what the label reads numbers and colours from.
    for (const RVMarkupComponent &component : result.textComponents()) {
        for (const QString &value : component.attributes()) {
            const auto rgba = RVMarkupParser::hexColorComponents(value);
            if (rgba) {
                for (double channel : *rgba)
                    require(channel >= 0.0 && channel <= 1.0);
            }
            RVMarkupParser::intValue(value);
            RVMarkupParser::doubleValue(value);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const QString replacements[] = {QString(), u"\n"_s, u"<p>"_s, u"&lt;¶"_s};
    const QString &replacement = replacements[data[0] % 4];
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    check(QString::fromUtf8(bytes), replacement);

    QString units(bytes.size() / 2, Qt::Uninitialized);
    std::memcpy(units.data(), bytes.constData(), std::size_t(units.size()) * sizeof(char16_t));
    check(units, replacement);
    return 0;
}
