// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Draws the doctors' photographs: a simple head-and-shoulders figure in a white coat on a
// coloured ground, varied by the doctor's code and sex. Shapes only, no text, so it needs no
// fonts and works in a headless service on QCoreApplication.
class RVPhotoPainter final
{
public:
    static constexpr int defaultSize = 120;

    static QImage portrait(const QString &ysdm, bool female, int size = defaultSize);
    // The portrait as PNG bytes; empty if encoding fails.
    static QByteArray portraitPng(const QString &ysdm, bool female, int size = defaultSize);
};
