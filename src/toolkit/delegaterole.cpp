// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/delegaterole.h"

#include "toolkit/viewcontroller.h"

namespace ui
{

std::weak_ptr<const void> DelegateRole::aliveToken() const
{
    // A screen's roles end with its last reference: its views may still run for a moment after
    // (they are destroyed right after), and must not call into a screen being destroyed.
    if (const auto *controller = dynamic_cast<const ViewController *>(this)) {
        if (std::weak_ptr<const ViewController> screen = controller->weak_from_this();
            !screen.expired())
            return screen;
    }
    return m_alive;
}

} // namespace ui
