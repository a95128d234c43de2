// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

namespace ui
{
class ViewController;
}

// A finish runs on the main thread when its work is done, which may be after the user went
// back or opened another screen. Before it pops or alerts it asks here whether its screen is
// still the top of its navigation stack; a finish whose screen is gone only assigns fields.
namespace RVScreenGuard
{
// True while the screen is in a navigation stack and on top of it.
bool isOnTop(const ui::ViewController *screen);
// Pops the screen, animated, only when it is on top; true when it popped.
bool popIfOnTop(ui::ViewController *screen);
} // namespace RVScreenGuard
