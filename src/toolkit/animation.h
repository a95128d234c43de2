// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QVariantAnimation>

#include <functional>

namespace ui
{

// Timed transitions of the toolkit (navigation slides, scrolling, fades). Every animated
// change goes through here so that tests can switch animation off and get the end state at
// once, with the same callbacks in the same order.
class Animation final
{
public:
    Animation() = delete;

    static constexpr int kDefaultDurationMs = 300;

    static void setDisabledForTests(bool disabled);
    static bool isDisabled();

    // Calls step with the eased progress 0..1 over the duration, then finished. The animation
    // belongs to owner and stops (without calling finished) when owner is destroyed. With
    // animation disabled, or a duration <= 0, step(1) and finished run before this returns and
    // the result is null.
    static QVariantAnimation *animate(QObject *owner, int durationMs,
                                      std::function<void(qreal)> step,
                                      std::function<void()> finished = {});
    // Animates a Qt property of target to the end value.
    static QVariantAnimation *animateProperty(QObject *target, const QByteArray &property,
                                              const QVariant &endValue, int durationMs,
                                              std::function<void()> finished = {});
};

} // namespace ui
