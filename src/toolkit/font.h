// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QFont>
#include <QString>

namespace ui
{

// Fonts by point size. One point is one device-independent pixel, so sizes are pixel sizes
// and text measures the same on every screen density.
class Font final
{
public:
    Font() = delete;

    static QFont systemFontOfSize(qreal pointSize);
    static QFont boldSystemFontOfSize(qreal pointSize);
    static QFont italicSystemFontOfSize(qreal pointSize);
    // A named family; names of the phone's families ("Helvetica-Bold", "Arial") map to the
    // system family with the weight the name carries.
    static QFont fontWithName(const QString &name, qreal pointSize);
    // The name of a font's face, weight and slant included ("Family-Bold"), so that
    // fontWithName(fontName(font), size) is the same face at another size.
    static QString fontName(const QFont &font);
    // The size a font was made with, in points.
    static qreal pointSize(const QFont &font);
};

} // namespace ui
