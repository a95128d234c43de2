// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <memory>

namespace ui
{

// The base of every role an object plays for a view: delegate or data source. Views never own
// the object behind a role and often outlive it (an alert stays up after its screen went, a
// table is torn down after its screen's own members), so they hold roles through WeakDelegate,
// which asks this base whether the object is still there.
//
// A role played by a screen (a ViewController held by std::shared_ptr) is gone as soon as the
// last reference to the screen is dropped, before any of its destructors runs; any other
// object's roles are gone when this base is destroyed. A copy is a new object with its own
// life, never an alias of the original's.
class DelegateRole
{
public:
    virtual ~DelegateRole() = default;

    // What a WeakDelegate watches: it expires when the object stops playing its roles.
    std::weak_ptr<const void> aliveToken() const;

protected:
    DelegateRole() = default;
    DelegateRole(const DelegateRole &) {}
    DelegateRole &operator=(const DelegateRole &) { return *this; }

private:
    std::shared_ptr<const int> m_alive = std::make_shared<const int>(0);
};

} // namespace ui
