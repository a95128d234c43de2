// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>

#include <optional>

// The modules of a QR code (libqrencode, error correction level M: a printed code stays
// readable with a crease or a stain), without the quiet zone around it.
class RVQrCode final
{
public:
    // None when the text does not fit in a QR code.
    static std::optional<RVQrCode> encode(const QByteArray &text);

    int size() const { return m_size; }
    bool isDark(int x, int y) const;

private:
    RVQrCode(int size, QByteArray modules) : m_size(size), m_modules(std::move(modules)) {}

    int m_size = 0;
    QByteArray m_modules; // one byte a module, row by row: 1 dark, 0 light
};
