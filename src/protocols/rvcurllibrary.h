// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <curl/curl.h>

// The libcurl functions the network layer calls, from libcurl opened on the first transfer
// instead of at start: libcurl brings some thirty libraries of its own (TLS, LDAP, SSH,
// Kerberos, IDN...), whose loading and relocation would otherwise come before the first frame.
struct RVCurlLibrary final {
    // Opens libcurl and sets it up once (OpenSSL first, see RVCryptoLibrary), from any
    // thread; nullptr (logged) when it cannot.
    static const RVCurlLibrary *instance();

    decltype(&curl_easy_init) easyInit = nullptr;
    decltype(&curl_easy_setopt) easySetopt = nullptr;
    decltype(&curl_easy_getinfo) easyGetinfo = nullptr;
    decltype(&curl_easy_strerror) easyStrerror = nullptr;
    decltype(&curl_easy_cleanup) easyCleanup = nullptr;
    decltype(&curl_slist_append) slistAppend = nullptr;
    decltype(&curl_slist_free_all) slistFreeAll = nullptr;
    decltype(&curl_multi_init) multiInit = nullptr;
    decltype(&curl_multi_setopt) multiSetopt = nullptr;
    decltype(&curl_multi_add_handle) multiAddHandle = nullptr;
    decltype(&curl_multi_remove_handle) multiRemoveHandle = nullptr;
    decltype(&curl_multi_perform) multiPerform = nullptr;
    decltype(&curl_multi_poll) multiPoll = nullptr;
    decltype(&curl_multi_wakeup) multiWakeup = nullptr;
    decltype(&curl_multi_info_read) multiInfoRead = nullptr;
    decltype(&curl_multi_timeout) multiTimeout = nullptr;
    decltype(&curl_multi_cleanup) multiCleanup = nullptr;
};
