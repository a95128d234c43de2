// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "platform/notificationcenter.h"

// What an observer of a client's asynchronous exchange implements. The notification's object
// is the client (RVProtocol::fromNotification); both calls arrive on the thread that started
// the exchange.
class RVAsyncObserver
{
public:
    RVAsyncObserver() = default;
    virtual ~RVAsyncObserver();
    Q_DISABLE_COPY_MOVE(RVAsyncObserver)

    virtual void httpAsyncSuccess(const platform::Notification &notification) = 0;
    virtual void httpAsyncFailure(const platform::Notification &notification) = 0;
};
