// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <memory>

class ZtProgressHUD;

// What an overlay tells when it has hidden. The overlay may outlive the object that asked to
// be told (a tip stays after its screen is gone), so it holds the delegate weakly through the
// alive token: a delegate that is gone by then is simply not told.
class ZtProgressHUDDelegate
{
public:
    virtual ~ZtProgressHUDDelegate() = default;

    // Optional: called on the main thread once the overlay is fully hidden.
    virtual void hudWasHidden(ZtProgressHUD * /*hud*/) {}

    std::weak_ptr<void> aliveToken() const { return m_alive; }

protected:
    ZtProgressHUDDelegate() = default;
    ZtProgressHUDDelegate(const ZtProgressHUDDelegate &) {}
    ZtProgressHUDDelegate &operator=(const ZtProgressHUDDelegate &) { return *this; }

private:
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
