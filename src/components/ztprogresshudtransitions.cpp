// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
//
// The overlay's showing and hiding (grace time, minimum show time, fades, the end of a hide).
// Kept apart from the content and geometry of the same class so that each file stays
// readable.
#include "components/ztprogresshud.h"

#include "components/ztprogresshuddelegate.h"
#include "components/ztprogresshudfadeeffect.h"

#include "toolkit/animation.h"

#include <QThread>
#include <QVariantAnimation>

namespace
{

constexpr int kFadeMs = 300;
// Hiding ends a little above zero, then the end of the hide sets zero.
constexpr qreal kHiddenAlpha = 0.02;

int milliseconds(qreal seconds)
{
    return int(std::max<qreal>(0, seconds) * 1000 + 0.5);
}

qreal showingScale(ZtProgressHUDAnimation type)
{
    switch (type) {
    case ZtProgressHUDAnimation::Zoom:
        return 1.5;
    case ZtProgressHUDAnimation::ZoomIn:
        return 0.5;
    case ZtProgressHUDAnimation::Fade:
        break;
    }
    return 1.0;
}

qreal hidingScale(ZtProgressHUDAnimation type)
{
    switch (type) {
    case ZtProgressHUDAnimation::Zoom:
        return 0.5;
    case ZtProgressHUDAnimation::ZoomIn:
        return 1.5;
    case ZtProgressHUDAnimation::Fade:
        break;
    }
    return 1.0;
}

} // namespace

void ZtProgressHUD::show(bool animated)
{
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, animated] { show(animated); }, Qt::QueuedConnection);
        return;
    }
    m_useAnimation = animated;
    if (m_graceTime > 0) {
        m_graceTimer.start(milliseconds(m_graceTime));
        return;
    }
    showUsingAnimation(animated);
}

// A task that ended within the grace time never shows the box.
void ZtProgressHUD::handleGraceTimer()
{
    if (m_taskInProgress)
        showUsingAnimation(m_useAnimation);
}

void ZtProgressHUD::showUsingAnimation(bool animated)
{
    m_minShowTimer.stop();
    const bool wasShown = m_showStarted.isValid();
    m_showStarted.start();
    if (!animated) {
        if (m_fade)
            m_fade->stop();
        applyFade(1.0, 1.0);
        return;
    }
    // Shown again while fading in: carry on from where the fade is.
    const auto *effect = qobject_cast<ZtProgressHUDFadeEffect *>(graphicsEffect());
    const qreal fromScale = wasShown || alpha() > kHiddenAlpha ? (effect ? effect->scale() : 1.0)
                                                               : showingScale(m_animationType);
    fadeTo(1.0, fromScale, 1.0, {});
}

void ZtProgressHUD::hide(bool animated)
{
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, animated] { hide(animated); }, Qt::QueuedConnection);
        return;
    }
    m_useAnimation = animated;
    // A hide wins over a show still waiting for its grace time.
    m_graceTimer.stop();
    if (m_minShowTime > 0 && m_showStarted.isValid()) {
        const qint64 remaining = milliseconds(m_minShowTime) - m_showStarted.elapsed();
        if (remaining > 0) {
            m_minShowTimer.start(int(remaining));
            return;
        }
    }
    hideUsingAnimation(animated);
}

void ZtProgressHUD::hide(bool animated, qreal afterDelay)
{
    QTimer::singleShot(milliseconds(afterDelay), this, [this, animated] { hide(animated); });
}

void ZtProgressHUD::hideUsingAnimation(bool animated)
{
    m_minShowTimer.stop();
    const bool wasShown = m_showStarted.isValid();
    m_showStarted.invalidate();
    if (!animated || !wasShown) {
        if (m_fade)
            m_fade->stop();
        done();
        return;
    }
    const auto *effect = qobject_cast<ZtProgressHUDFadeEffect *>(graphicsEffect());
    fadeTo(kHiddenAlpha, effect ? effect->scale() : 1.0, hidingScale(m_animationType),
           [this] { done(); });
}

void ZtProgressHUD::done()
{
    applyFade(0.0, 1.0);
    QPointer<ZtProgressHUD> self(this);
    if (m_delegate)
        m_delegate->hudWasHidden(this);
    if (!self)
        return;
    if (m_completionBlock) {
        const Block completion = std::exchange(m_completionBlock, Block());
        completion();
        if (!self)
            return;
    }
    Q_EMIT wasHidden();
    if (self && m_removeFromSuperViewOnHide)
        removeFromSuperview();
}

// The fade belongs to the overlay: it stops, without finishing, when the overlay goes.
void ZtProgressHUD::fadeTo(qreal toAlpha, qreal fromScale, qreal toScale, Block finished)
{
    if (m_fade)
        m_fade->stop();
    const qreal fromAlpha = alpha();
    m_fade = ui::Animation::animate(
        this, kFadeMs,
        [this, fromAlpha, toAlpha, fromScale, toScale](qreal t) {
            applyFade(fromAlpha + (toAlpha - fromAlpha) * t, fromScale + (toScale - fromScale) * t);
        },
        std::move(finished));
}

void ZtProgressHUD::applyFade(qreal alpha, qreal scale)
{
    // The toolkit's alpha drives any opacity effect, so ours (which also scales) serves it.
    if (alpha < 1.0 && !qobject_cast<ZtProgressHUDFadeEffect *>(graphicsEffect()))
        setGraphicsEffect(new ZtProgressHUDFadeEffect(this));
    setAlpha(alpha);
    if (auto *effect = qobject_cast<ZtProgressHUDFadeEffect *>(graphicsEffect()))
        effect->setScale(scale);
    // An invisible overlay lets touches through, as a hidden one would.
    setAttribute(Qt::WA_TransparentForMouseEvents,
                 !isUserInteractionEnabled() || alpha <= kHiddenAlpha / 2);
}
