// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvcipher.h"

#include "protocols/rvcryptolibrary.h"

#include <QStringDecoder>

#include <array>
#include <memory>

using namespace Qt::StringLiterals;

namespace
{

constexpr std::array<signed char, 128> hexTable()
{
    std::array<signed char, 128> table{};
    for (auto &entry : table)
        entry = -1;
    for (int i = 0; i < 10; ++i)
        table['0' + i] = static_cast<signed char>(i);
    for (int i = 0; i < 6; ++i) {
        table['a' + i] = static_cast<signed char>(10 + i);
        table['A' + i] = static_cast<signed char>(10 + i);
    }
    return table;
}

int hexValue(QChar c)
{
    static constexpr auto table = hexTable();
    const char16_t u = c.unicode();
    return u < 128 ? table[u] : -1;
}

std::optional<QByteArray> run(const QByteArray &input, const QByteArray &key, bool encrypt)
{
    const RVCryptoLibrary *crypto = RVCryptoLibrary::instance();
    if (key.size() != RVCipher::keyBytes || crypto == nullptr)
        return std::nullopt;
    std::unique_ptr<EVP_CIPHER_CTX, decltype(crypto->cipherCtxFree)> ctx(crypto->cipherCtxNew(),
                                                                         crypto->cipherCtxFree);
    if (!ctx)
        return std::nullopt;
    const auto *keyData = reinterpret_cast<const unsigned char *>(key.constData());
    if (crypto->cipherInit(ctx.get(), crypto->desEde3Ecb(), nullptr, keyData, nullptr,
                           encrypt ? 1 : 0) != 1)
        return std::nullopt;
    // Padded length: the next multiple of 8 above the input; enough for both directions.
    QByteArray out((input.size() + 8) & ~qsizetype(7), Qt::Uninitialized);
    auto *outData = reinterpret_cast<unsigned char *>(out.data());
    int written = 0;
    int tail = 0;
    if (crypto->cipherUpdate(ctx.get(), outData, &written,
                             reinterpret_cast<const unsigned char *>(input.constData()),
                             int(input.size())) != 1)
        return std::nullopt;
    if (crypto->cipherFinal(ctx.get(), outData + written, &tail) != 1)
        return std::nullopt;
    out.truncate(written + tail);
    return out;
}

} // namespace

QString RVCipher::fixedKeyText()
{
    return u"3c9d1e7a55b04f26e8a1c7d902b6f4e13a58c0d7e9f21b64"_s;
}

QByteArray RVCipher::stringFromHex(QStringView hex)
{
    // Replies are kilobytes of digits: read them through a table, pair by pair.
    const qsizetype pairs = hex.size() / 2;
    QByteArray bytes(pairs, Qt::Uninitialized);
    const char16_t *digits = hex.utf16();
    char *out = bytes.data();
    for (qsizetype i = 0; i < pairs; ++i) {
        const int high = hexValue(QChar(digits[2 * i]));
        const int low = hexValue(QChar(digits[2 * i + 1]));
        if (high < 0)
            out[i] = '\0';
        else if (low < 0)
            out[i] = char(high);
        else
            out[i] = char(high * 16 + low);
    }
    return bytes;
}

QString RVCipher::nsdataToHex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

bool RVCipher::isUsableKey(const QString &keyText)
{
    if (keyText.size() != keyHexDigits)
        return false;
    return std::all_of(keyText.cbegin(), keyText.cend(), [](QChar c) { return hexValue(c) >= 0; });
}

std::optional<QByteArray> RVCipher::keyToBytes(const QString &keyText)
{
    if (!isUsableKey(keyText))
        return std::nullopt;
    return stringFromHex(keyText);
}

std::optional<QByteArray> RVCipher::encrypt(const QByteArray &plain, const QByteArray &key)
{
    return run(plain, key, true);
}

std::optional<QByteArray> RVCipher::decrypt(const QByteArray &cipher, const QByteArray &key)
{
    return run(cipher, key, false);
}

std::optional<QString> RVCipher::encipherToHex(const QString &text, const QString &keyText)
{
    const auto key = keyToBytes(keyText);
    if (!key)
        return std::nullopt;
    const auto cipher = encrypt(text.toUtf8(), *key);
    if (!cipher)
        return std::nullopt;
    return nsdataToHex(*cipher);
}

std::optional<QString> RVCipher::decipherFromHex(QStringView hex, const QString &keyText)
{
    const auto key = keyToBytes(keyText);
    if (!key)
        return std::nullopt;
    const auto plain = decrypt(stringFromHex(hex), *key);
    if (!plain)
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(*plain);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}
