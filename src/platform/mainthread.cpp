// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "platform/mainthread.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace platform
{

void MainThread::post(std::function<void()> work)
{
    auto *app = QCoreApplication::instance();
    if (app == nullptr)
        return;
    QMetaObject::invokeMethod(app, std::move(work), Qt::QueuedConnection);
}

} // namespace platform
