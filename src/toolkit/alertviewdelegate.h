// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <memory>

namespace ui
{

class AlertView;

// What an alert tells when a button is tapped (cancel is index 0 when there is one, then the
// other buttons in order). An alert outlives the screen that showed it, so it holds its
// delegate weakly: a delegate that is gone by the time of the tap is simply not told.
class AlertViewDelegate
{
public:
    virtual ~AlertViewDelegate() = default;

    virtual void alertViewClickedButtonAtIndex(AlertView *, int /*buttonIndex*/) {}
    virtual void alertViewDidDismissWithButtonIndex(AlertView *, int /*buttonIndex*/) {}

    std::weak_ptr<void> aliveToken() const { return m_alive; }

protected:
    AlertViewDelegate() = default;
    AlertViewDelegate(const AlertViewDelegate &) {}
    AlertViewDelegate &operator=(const AlertViewDelegate &) { return *this; }

private:
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

} // namespace ui
