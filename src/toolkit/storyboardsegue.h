// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QString>

#include <memory>

namespace ui
{

class ViewController;

// A transition from one screen to another named in the storyboard: the source hands the
// destination its inputs in prepareForSegue before the destination is pushed.
struct StoryboardSegue {
    QString identifier;
    ViewController *sourceViewController = nullptr;
    std::shared_ptr<ViewController> destinationViewController;
};

} // namespace ui
