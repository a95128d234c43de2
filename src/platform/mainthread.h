// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <functional>

namespace platform
{

// Hand-over of work to the main (GUI) thread, the stand-in for performing a selector on the
// main thread. Both are safe to call from the main thread itself.
class MainThread final
{
public:
    static bool isMainThread();
    // Queues the work on the main thread's event loop and returns at once.
    static void post(std::function<void()> work);
    // Runs the work on the main thread and returns when it has run. From the main thread it
    // runs at once; it must not be used from a worker the main thread is blocked waiting for.
    static void runAndWait(std::function<void()> work);
};

} // namespace platform
