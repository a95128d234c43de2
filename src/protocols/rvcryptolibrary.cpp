// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvcryptolibrary.h"

#include "protocols/rvlazylibrary.h"

#include <QtGlobal>

#include <openssl/crypto.h>
#include <openssl/opensslv.h>

#include <dlfcn.h>

namespace
{

// OpenSSL keeps a block of state per thread that used it and, by default, tears its global
// state down from an exit handler. Worker threads still parked at exit then lose their blocks
// (reported as leaks) and could touch torn-down state. Set up without the exit handler, both
// are left to the end of the process; that only holds if this is OpenSSL's first set-up, so
// it runs before anything else here touches OpenSSL (the network layer's TLS included).
const RVCryptoLibrary *openCrypto()
{
    static RVLazyLibrary library(QStringLiteral("crypto"), OPENSSL_VERSION_MAJOR);
    decltype(&OPENSSL_init_crypto) initialise = nullptr;
    library.resolve(initialise, "OPENSSL_init_crypto");
    static RVCryptoLibrary crypto;
    library.resolve(crypto.cipherCtxNew, "EVP_CIPHER_CTX_new");
    library.resolve(crypto.cipherCtxFree, "EVP_CIPHER_CTX_free");
    library.resolve(crypto.cipherInit, "EVP_CipherInit_ex");
    library.resolve(crypto.cipherUpdate, "EVP_CipherUpdate");
    library.resolve(crypto.cipherFinal, "EVP_CipherFinal_ex");
    library.resolve(crypto.desEde3Ecb, "EVP_des_ede3_ecb");
    if (!library.isUsable() ||
        initialise(OPENSSL_INIT_NO_ATEXIT | OPENSSL_INIT_LOAD_CONFIG, nullptr) != 1)
        return nullptr;
    return &crypto;
}

// A program that links libcrypto itself (the service, which hashes passwords with it) may use
// it anywhere: it gets the set-up before main, ahead of every use. The client links it not
// and sets it up on first use.
void setUpLinkedCrypto()
{
    const QByteArray soname = "libcrypto.so." + QByteArray::number(OPENSSL_VERSION_MAJOR);
    if (void *linked = dlopen(soname.constData(), RTLD_LAZY | RTLD_NOLOAD)) {
        RVCryptoLibrary::instance();
        dlclose(linked); // drops only the reference taken just now
    }
}
Q_CONSTRUCTOR_FUNCTION(setUpLinkedCrypto)

} // namespace

const RVCryptoLibrary *RVCryptoLibrary::instance()
{
    static const RVCryptoLibrary *const crypto = openCrypto();
    return crypto;
}
