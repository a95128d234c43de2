// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace platform
{

class UserDefaults;

// How much larger than its 320 by 568 points the whole interface is drawn, text and frames
// together, for patients who need large text: from 1.0 to 2.0, kept in the user's defaults.
// It becomes the window's scale factor, which Qt reads once, before the application object
// exists; a change takes effect at the next start.
class InterfaceScale final
{
public:
    InterfaceScale() = delete;

    static constexpr double kMinimum = 1.0;
    static constexpr double kMaximum = 2.0;
    static constexpr QStringView kDefaultsKey = u"InterfaceScale";

    // A factor written as a number ("1.5"); nullopt for anything else or outside the range.
    static std::optional<double> parse(const QString &text);
    // The kept factor; 1.0 when none is kept or the kept one cannot be used.
    static double stored(const UserDefaults &defaults);
    // Keeps the factor (written through); false when it is out of range or the write failed.
    static bool store(UserDefaults &defaults, double factor);
    // The value of QT_SCALE_FACTOR that draws at `factor` on top of what the environment
    // already asks for (`existing`, empty when nothing).
    static QByteArray scaleFactorVariable(double factor, const QByteArray &existing);
};

} // namespace platform
