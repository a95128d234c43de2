// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// Triple-DES (three-key EDE, ECB, PKCS#7) as the service enciphers its messages, and the
// hexadecimal text that carries the ciphertext. Stateless; safe from any thread. The cipher
// itself is OpenSSL's: nothing here implements DES.
namespace RVCipher
{
inline constexpr int keyBytes = 24;
inline constexpr int keyHexDigits = 48;

// The key of the registration and login messages.
QString fixedKeyText();

// Lenient hex reading: pairs of digits; an odd last digit is ignored; a pair whose second
// character is not a digit gives the value of the first alone, one whose first is not a
// digit gives 0.
QByteArray stringFromHex(QStringView hex);
// Lowercase, two digits per byte.
QString nsdataToHex(const QByteArray &bytes);

// True for exactly 48 hexadecimal digits: anything else is no key at all, so the cipher
// never runs with a short or padded key.
bool isUsableKey(const QString &keyText);
std::optional<QByteArray> keyToBytes(const QString &keyText);

// Raw cipher on bytes; nullopt when OpenSSL refuses (bad key length, input not a whole
// number of blocks, bad padding).
std::optional<QByteArray> encrypt(const QByteArray &plain, const QByteArray &key);
std::optional<QByteArray> decrypt(const QByteArray &cipher, const QByteArray &key);

// Text in, lowercase hex out; nullopt when the key is not usable or the cipher fails.
std::optional<QString> encipherToHex(const QString &text, const QString &keyText);
// Hex in, text out; nullopt for an unusable key, a cipher failure or bytes that are not
// UTF-8.
std::optional<QString> decipherFromHex(QStringView hex, const QString &keyText);
} // namespace RVCipher
