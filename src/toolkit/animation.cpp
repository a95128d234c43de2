// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/animation.h"

#include <QPropertyAnimation>

#include <atomic>

namespace ui
{

namespace
{
std::atomic_bool s_disabled{false};
} // namespace

void Animation::setDisabledForTests(bool disabled)
{
    s_disabled = disabled;
}

bool Animation::isDisabled()
{
    return s_disabled;
}

QVariantAnimation *Animation::animate(QObject *owner, int durationMs,
                                      std::function<void(qreal)> step,
                                      std::function<void()> finished)
{
    if (s_disabled || durationMs <= 0 || !owner) {
        if (step)
            step(1.0);
        if (finished)
            finished();
        return nullptr;
    }
    auto *animation = new QVariantAnimation(owner);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    animation->setDuration(durationMs);
    animation->setEasingCurve(QEasingCurve::InOutQuad);
    QObject::connect(animation, &QVariantAnimation::valueChanged, owner,
                     [step](const QVariant &value) {
                         if (step)
                             step(value.toReal());
                     });
    QObject::connect(animation, &QVariantAnimation::finished, owner, [finished] {
        if (finished)
            finished();
    });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    return animation;
}

QVariantAnimation *Animation::animateProperty(QObject *target, const QByteArray &property,
                                              const QVariant &endValue, int durationMs,
                                              std::function<void()> finished)
{
    if (s_disabled || durationMs <= 0 || !target) {
        if (target)
            target->setProperty(property.constData(), endValue);
        if (finished)
            finished();
        return nullptr;
    }
    auto *animation = new QPropertyAnimation(target, property, target);
    animation->setEndValue(endValue);
    animation->setDuration(durationMs);
    animation->setEasingCurve(QEasingCurve::InOutQuad);
    QObject::connect(animation, &QVariantAnimation::finished, target, [finished] {
        if (finished)
            finished();
    });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    return animation;
}

} // namespace ui
