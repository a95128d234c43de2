// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvbookingpass.h"

#include <QRectF>
#include <QString>

class QPainter;

// A booking pass as a document to print: one A6 page with the title, the QR code and the
// booking in large text. The same drawing serves a screen that shows the pass.
class RVPassPdfWriter final
{
public:
    // Writes the PDF whole or not at all; false with a message in error when the file cannot
    // be written.
    static bool write(const RVBookingPass &pass, const QString &path, QString *error);

    // Draws the pass into the rectangle, in the painter's units at its device's resolution.
    static void paint(QPainter &painter, const RVBookingPass &pass, const QRectF &area);
    // Draws the QR code with its quiet zone into the square.
    static void paintCode(QPainter &painter, const RVQrCode &code, const QRectF &square);
};
