// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/delegaterole.h"

#include <memory>

namespace ui
{

// How a view holds its delegate or data source: a plain pointer plus the role's alive token,
// so that a role whose object is gone reads as null instead of dangling. Every view and
// component holds its roles this way; use it on the main thread, where roles are called.
template <class Role> class WeakDelegate final
{
public:
    WeakDelegate() = default;
    WeakDelegate(Role *role) { reset(role); } // NOLINT(google-explicit-constructor)
    WeakDelegate &operator=(Role *role)
    {
        reset(role);
        return *this;
    }

    void reset(Role *role = nullptr)
    {
        m_role = role;
        m_alive = role ? static_cast<const DelegateRole *>(role)->aliveToken()
                       : std::weak_ptr<const void>();
    }
    // Null when none was set or its object is gone.
    Role *get() const { return m_alive.expired() ? nullptr : m_role; }
    Role *operator->() const { return get(); }
    explicit operator bool() const { return get() != nullptr; }

private:
    Role *m_role = nullptr;
    std::weak_ptr<const void> m_alive;
};

} // namespace ui
