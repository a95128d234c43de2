// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvpasswordhasher.h"

#include <QStringList>

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

using namespace Qt::StringLiterals;

namespace
{
constexpr int maxIterations = 10'000'000; // a stored text cannot make a login hang
const QString scheme = u"pbkdf2-sha256"_s;
} // namespace

QByteArray RVPasswordHasher::randomBytes(int count)
{
    QByteArray bytes(count, Qt::Uninitialized);
    if (count <= 0 || RAND_bytes(reinterpret_cast<unsigned char *>(bytes.data()), count) != 1)
        return {};
    return bytes;
}

QByteArray RVPasswordHasher::derive(const QString &password, const QByteArray &salt, int iterations)
{
    const QByteArray utf8 = password.toUtf8();
    QByteArray out(hashBytes, Qt::Uninitialized);
    const int ok = PKCS5_PBKDF2_HMAC(utf8.constData(), static_cast<int>(utf8.size()),
                                     reinterpret_cast<const unsigned char *>(salt.constData()),
                                     static_cast<int>(salt.size()), iterations, EVP_sha256(),
                                     hashBytes, reinterpret_cast<unsigned char *>(out.data()));
    return ok == 1 ? out : QByteArray();
}

QString RVPasswordHasher::hash(const QString &password, int iterations)
{
    const QByteArray salt = randomBytes(saltBytes);
    if (salt.isEmpty() || iterations < 1 || iterations > maxIterations)
        return {};
    const QByteArray derived = derive(password, salt, iterations);
    if (derived.isEmpty())
        return {};
    return scheme + u'$' + QString::number(iterations) + u'$' + QString::fromLatin1(salt.toHex()) +
           u'$' + QString::fromLatin1(derived.toHex());
}

bool RVPasswordHasher::verify(const QString &password, const QString &stored)
{
    const QStringList parts = stored.split(u'$');
    if (parts.size() != 4 || parts.at(0) != scheme)
        return false;
    bool numeric = false;
    const int iterations = parts.at(1).toInt(&numeric);
    const QByteArray salt = QByteArray::fromHex(parts.at(2).toLatin1());
    const QByteArray expected = QByteArray::fromHex(parts.at(3).toLatin1());
    if (!numeric || iterations < 1 || iterations > maxIterations || salt.isEmpty() ||
        expected.size() != hashBytes)
        return false;
    const QByteArray derived = derive(password, salt, iterations);
    return derived.size() == hashBytes &&
           CRYPTO_memcmp(derived.constData(), expected.constData(), hashBytes) == 0;
}
