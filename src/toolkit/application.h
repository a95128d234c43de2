// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QUrl>

namespace ui
{

// Process-wide services of the interface: which thread is the main one, opening an address
// in the system's browser, the network activity flag, and passing on a memory warning.
class Application final
{
public:
    Application() = delete;

    static bool openURL(const QUrl &url);
    static bool canOpenURL(const QUrl &url);
    static void setNetworkActivityIndicatorVisible(bool visible);
    static bool isNetworkActivityIndicatorVisible();
    // Tells the key window's root controller (and, through a navigation controller, every
    // screen on its stack) that memory runs low.
    static void simulateMemoryWarning();
};

} // namespace ui
