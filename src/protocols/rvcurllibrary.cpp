// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvcurllibrary.h"

#include "protocols/rvcryptolibrary.h"
#include "protocols/rvlazylibrary.h"

#include <QString>

namespace
{

// The shared object's version, which is not the release's: libcurl 7 and 8 are both .so.4.
constexpr int CurlSoVersion = 4;

const RVCurlLibrary *openCurl()
{
    // libcurl's TLS library stands on libcrypto, and must not be the first to set it up.
    if (RVCryptoLibrary::instance() == nullptr)
        return nullptr;
    static RVLazyLibrary library(QStringLiteral("curl"), CurlSoVersion);
    decltype(&curl_global_init) initialise = nullptr;
    library.resolve(initialise, "curl_global_init");
    static RVCurlLibrary curl;
    library.resolve(curl.easyInit, "curl_easy_init");
    library.resolve(curl.easySetopt, "curl_easy_setopt");
    library.resolve(curl.easyGetinfo, "curl_easy_getinfo");
    library.resolve(curl.easyStrerror, "curl_easy_strerror");
    library.resolve(curl.easyCleanup, "curl_easy_cleanup");
    library.resolve(curl.slistAppend, "curl_slist_append");
    library.resolve(curl.slistFreeAll, "curl_slist_free_all");
    library.resolve(curl.multiInit, "curl_multi_init");
    library.resolve(curl.multiSetopt, "curl_multi_setopt");
    library.resolve(curl.multiAddHandle, "curl_multi_add_handle");
    library.resolve(curl.multiRemoveHandle, "curl_multi_remove_handle");
    library.resolve(curl.multiPerform, "curl_multi_perform");
    library.resolve(curl.multiPoll, "curl_multi_poll");
    library.resolve(curl.multiWakeup, "curl_multi_wakeup");
    library.resolve(curl.multiInfoRead, "curl_multi_info_read");
    library.resolve(curl.multiTimeout, "curl_multi_timeout");
    library.resolve(curl.multiCleanup, "curl_multi_cleanup");
    if (!library.isUsable() || initialise(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        return nullptr;
    return &curl;
}

} // namespace

const RVCurlLibrary *RVCurlLibrary::instance()
{
    static const RVCurlLibrary *const curl = openCurl();
    return curl;
}
