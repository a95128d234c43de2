// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Draws the doctors' photographs: a simple head-and-shoulders figure in a white coat on a
// coloured ground, varied by the doctor's code and sex. Shapes only, no text, so it needs no
// fonts and works in a headless service on QCoreApplication.
class RVPhotoPainter final
{
public:
    // Portrait, in the proportion of the client's photo frames (60 by 85 points), at twice
    // their size so that they stay sharp on a dense screen.
    static constexpr QSize defaultSize{120, 170};

    // The figure keeps its proportions at any size: it is scaled by the width, and a taller
    // picture shows more of the coat.
    static QImage portrait(const QString &ysdm, bool female, QSize size = defaultSize);
    // The portrait as PNG bytes; empty if encoding fails.
    static QByteArray portraitPng(const QString &ysdm, bool female, QSize size = defaultSize);
};
