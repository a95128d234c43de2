// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QCoreApplication>
#include <QThread>

#include <functional>

namespace platform
{

// Hand-over of work to the main (GUI) thread, the stand-in for performing a selector on the
// main thread. Safe to call from the main thread itself. There is deliberately no form that
// waits: a worker that blocks on the main thread can deadlock a quit that joins it.
class MainThread final
{
public:
    // The one test of the thread, inline so that the layers below the platform library (the
    // network layer, the toolkit) ask it without linking it.
    static bool isMainThread()
    {
        const QCoreApplication *app = QCoreApplication::instance();
        return app != nullptr && QThread::currentThread() == app->thread();
    }
    // Queues the work on the main thread's event loop and returns at once.
    static void post(std::function<void()> work);
};

} // namespace platform
