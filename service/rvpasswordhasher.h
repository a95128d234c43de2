// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>
#include <QString>

// Salted password hashes with OpenSSL's PBKDF2 (HMAC-SHA-256), and the cryptographic random
// source of the service's secrets. A stored hash carries its own iteration count and salt
// ("pbkdf2-sha256$ITER$SALT$HASH", hex), so the cost can be raised later without breaking
// existing accounts. Passwords never reach the database in clear.
class RVPasswordHasher final
{
public:
    static constexpr int defaultIterations = 120000;
    static constexpr int saltBytes = 16;
    static constexpr int hashBytes = 32;

    // Empty when the random source or the derivation fails.
    static QString hash(const QString &password, int iterations = defaultIterations);
    // Constant-time comparison; false for a malformed stored text.
    static bool verify(const QString &password, const QString &stored);
    // Bytes from OpenSSL's cryptographic random source; empty on failure.
    static QByteArray randomBytes(int count);

private:
    static QByteArray derive(const QString &password, const QByteArray &salt, int iterations);
};
