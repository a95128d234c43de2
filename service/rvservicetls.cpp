// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicetls.h"

#include "service/rvservicelog.h"

#include <QDateTime>
#include <QFile>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace
{

// A certificate chain or a key is a few KiB; anything past this is not one.
constexpr qint64 maxPemBytes = 1024 * 1024;

std::optional<QByteArray> readFile(const QString &path, const QString &what, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = u"cannot read the TLS %1 %2: %3"_s.arg(what, path, file.errorString());
        return std::nullopt;
    }
    return file.read(maxPemBytes);
}

struct KeyFreer {
    void operator()(EVP_PKEY *key) const { EVP_PKEY_free(key); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFreer>;

Key parseKey(const QByteArray &pem)
{
    BIO *bio = BIO_new_mem_buf(pem.constData(), int(pem.size()));
    // No pass-phrase callback: an encrypted key is refused rather than asked for on a terminal.
    Key key(PEM_read_bio_PrivateKey(
        bio, nullptr, [](char *, int, int, void *) { return 0; }, nullptr));
    BIO_free(bio);
    return key;
}

bool keyMatches(const QSslCertificate &certificate, EVP_PKEY *key)
{
    const QByteArray der = certificate.toDer();
    const auto *bytes = reinterpret_cast<const unsigned char *>(der.constData());
    X509 *x509 = d2i_X509(nullptr, &bytes, long(der.size()));
    const bool matches = x509 != nullptr && X509_check_private_key(x509, key) == 1;
    X509_free(x509);
    return matches;
}

std::optional<QSsl::KeyAlgorithm> algorithmOf(EVP_PKEY *key)
{
    switch (EVP_PKEY_get_base_id(key)) {
    case EVP_PKEY_RSA:
        return QSsl::Rsa;
    case EVP_PKEY_EC:
        return QSsl::Ec;
    case EVP_PKEY_DSA:
        return QSsl::Dsa;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<QSslConfiguration> RVServiceTls::load(const QString &certificateFile,
                                                    const QString &keyFile, QString *error)
{
    if (!QSslSocket::supportsSsl()) {
        *error = u"TLS is not available: Qt's OpenSSL backend could not be loaded"_s;
        return std::nullopt;
    }
    const auto chainPem = readFile(certificateFile, u"certificate"_s, error);
    const auto keyPem = chainPem ? readFile(keyFile, u"key"_s, error) : std::nullopt;
    if (!keyPem)
        return std::nullopt;
    const QList<QSslCertificate> chain = QSslCertificate::fromData(*chainPem, QSsl::Pem);
    if (chain.isEmpty() || chain.first().isNull()) {
        *error = u"no PEM certificate in %1"_s.arg(certificateFile);
        return std::nullopt;
    }
    const Key key = parseKey(*keyPem);
    const auto algorithm = key ? algorithmOf(key.get()) : std::nullopt;
    if (!algorithm) {
        *error = u"no usable private key in %1 (PEM, RSA or EC, not encrypted)"_s.arg(keyFile);
        return std::nullopt;
    }
    if (!keyMatches(chain.first(), key.get())) {
        *error =
            u"the key in %1 does not match the certificate in %2"_s.arg(keyFile, certificateFile);
        return std::nullopt;
    }
    if (chain.first().expiryDate() < QDateTime::currentDateTimeUtc())
        qCWarning(lcService).noquote()
            << u"the TLS certificate has expired; clients will refuse it"_s;
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setProtocol(QSsl::TlsV1_2OrLater);
    configuration.setLocalCertificateChain(chain);
    configuration.setPrivateKey(QSslKey(*keyPem, *algorithm, QSsl::Pem, QSsl::PrivateKey));
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone); // clients are not asked for one
    return configuration;
}

QTcpSocket *RVServiceTls::socketFor(const QSslConfiguration *tls, QObject *parent)
{
    if (tls == nullptr)
        return new QTcpSocket(parent);
    auto *socket = new QSslSocket(parent);
    socket->setSslConfiguration(*tls);
    QObject::connect(
        socket, &QSslSocket::errorOccurred, socket, [socket](QAbstractSocket::SocketError error) {
            if (error == QAbstractSocket::SslHandshakeFailedError)
                qCInfo(lcService).noquote() << u"TLS handshake failed:"_s << socket->errorString();
        });
    return socket;
}

void RVServiceTls::startHandshake(QTcpSocket *socket)
{
    if (auto *tlsSocket = qobject_cast<QSslSocket *>(socket))
        tlsSocket->startServerEncryption();
}

bool RVServiceTls::handshakeUnfinished(const QTcpSocket *socket)
{
    const auto *tlsSocket = qobject_cast<const QSslSocket *>(socket);
    return tlsSocket != nullptr && !tlsSocket->isEncrypted();
}

bool RVServiceTls::isTls(const QTcpSocket *socket)
{
    return qobject_cast<const QSslSocket *>(socket) != nullptr;
}
