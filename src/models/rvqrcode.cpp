// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvqrcode.h"

#include <qrencode.h>

#include <memory>

namespace
{
struct CodeFree {
    void operator()(QRcode *code) const { QRcode_free(code); }
};
} // namespace

std::optional<RVQrCode> RVQrCode::encode(const QByteArray &text)
{
    if (text.isEmpty() || text.contains('\0'))
        return std::nullopt;
    const std::unique_ptr<QRcode, CodeFree> code(
        QRcode_encodeString(text.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1));
    if (!code || code->width <= 0)
        return std::nullopt;
    const int size = code->width;
    QByteArray modules(qsizetype(size) * size, '\0');
    // The lowest bit of each byte of libqrencode's symbol tells a dark module.
    for (qsizetype i = 0; i < modules.size(); ++i)
        modules[i] = char(code->data[i] & 1);
    return RVQrCode(size, std::move(modules));
}

bool RVQrCode::isDark(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_size || y >= m_size)
        return false;
    return m_modules.at(qsizetype(y) * m_size + x) != 0;
}
