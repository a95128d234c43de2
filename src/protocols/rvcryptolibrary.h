// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <openssl/evp.h>

// OpenSSL's libcrypto as the cipher uses it, opened on the first message that is enciphered
// or deciphered (or by the network layer, whose TLS library stands on it) instead of at start.
struct RVCryptoLibrary final {
    // Opens and sets up libcrypto once, from any thread; nullptr (logged) when it cannot.
    static const RVCryptoLibrary *instance();

    decltype(&EVP_CIPHER_CTX_new) cipherCtxNew = nullptr;
    decltype(&EVP_CIPHER_CTX_free) cipherCtxFree = nullptr;
    decltype(&EVP_CipherInit_ex) cipherInit = nullptr;
    decltype(&EVP_CipherUpdate) cipherUpdate = nullptr;
    decltype(&EVP_CipherFinal_ex) cipherFinal = nullptr;
    decltype(&EVP_des_ede3_ecb) desEde3Ecb = nullptr;
};
