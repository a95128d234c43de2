// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "components/rvprogress.h"
#include "components/componentslog.h"

#include "platform/background.h"
#include "platform/mainthread.h"
#include "platform/workpool.h"
#include "toolkit/view.h"
#include "toolkit/viewcontroller.h"

#include <QTimer>

#include <exception>

namespace
{

constexpr qreal kTipMargin = 8;
constexpr qreal kTipYOffset = 170;

// A screen's work or finish that throws is reported; the overlay still goes and the screen
// comes back, rather than the process ending on a worker.
template <class Call> auto guarded(const char *what, Call &&call) -> decltype(call())
{
    try {
        return call();
    } catch (const std::exception &error) {
        qCWarning(lcProgress) << what << "failed:" << error.what();
    } catch (...) {
        qCWarning(lcProgress) << what << "failed";
    }
    return decltype(call())();
}

} // namespace

std::shared_ptr<RVProgress> RVProgress::create()
{
    return std::shared_ptr<RVProgress>(new RVProgress);
}

RVProgress::~RVProgress() = default;

void RVProgress::refuseUnowned()
{
    qCWarning(lcProgress) << "RVProgress::run needs a screen held by a shared pointer (one "
                             "made by the storyboard or pushed); the work is not run";
}

void RVProgress::startJob(Job job, std::shared_ptr<ui::ViewController> target, ui::View *view,
                          const QString &text, bool overlay)
{
    if (!platform::MainThread::isMainThread()) {
        // The overlay and the screen belong to the main thread: start from there.
        platform::MainThread::post([self = shared_from_this(), job = std::move(job),
                                    target = std::move(target), guard = QPointer<ui::View>(view),
                                    text, overlay]() mutable {
            self->startJob(std::move(job), std::move(target), guard, text, overlay);
        });
        return;
    }
    if (platform::WorkPool::current().isStopping()) {
        qCInfo(lcProgress) << "the application is quitting; work not started";
        return;
    }
    m_running = true;
    _targetClass = std::move(target);
    _targetView = overlay && view == nullptr ? _targetClass->view() : view;
    _method = std::move(job);

    if (overlay && _targetView) {
        m_HUD = ZtProgressHUD::showHUDAddedTo(_targetView, true);
        m_HUD->setLabelText(text);
        m_HUD->setDimBackground(true);
        m_HUD->setRemoveFromSuperViewOnHide(true);
        fadeTarget();
    } else if (overlay) {
        qCWarning(lcProgress) << "RVProgress has no view to cover; the work runs without overlay";
    }
    // The overlay's clean-up runs whatever the work did, so the screen always comes back.
    const bool queued = platform::Background::once(
        nullptr, [method = _method] { return guarded("work behind the progress overlay", method); },
        [self = shared_from_this()](const Apply &apply) { self->cleanUp(apply); });
    if (!queued) {
        cleanUp(Apply());
        return;
    }
    if (m_HUD)
        m_HUD->show(true);
}

void RVProgress::cleanUp(const Apply &apply)
{
    // Once quitting, a finish would meet screens and services being torn down.
    if (apply && !platform::WorkPool::current().isStopping())
        guarded("finish of the progress overlay", [&] { apply(); });
    unfadeTarget();
    _method = nullptr;
    if (m_HUD)
        m_HUD->hide(true);
    m_running = false;
    // Nothing needs the target any more. Letting it go now also breaks the cycle of a screen
    // that keeps this instance.
    const std::shared_ptr<ui::ViewController> target = std::move(_targetClass);
}

// The content under the overlay is faded, the overlay itself is not: fading the covered view
// would fade its subviews too, the overlay among them, leaving grey text on dark grey.
void RVProgress::fadeTarget()
{
    const QList<ui::View *> subviews = _targetView->subviews();
    for (ui::View *subview : subviews) {
        if (qobject_cast<ZtProgressHUD *>(subview) != nullptr)
            continue;
        m_faded.append({QPointer<ui::View>(subview), subview->alpha()});
        subview->setAlpha(subview->alpha() * fadedAlpha);
    }
}

void RVProgress::unfadeTarget()
{
    for (const auto &[view, alpha] : std::as_const(m_faded)) {
        if (view)
            view->setAlpha(alpha);
    }
    m_faded.clear();
}

void RVProgress::tipMessage(const QString &text, ui::View *view)
{
    if (!view) {
        qCWarning(lcProgress) << "tipMessage without a view; not shown:" << text;
        return;
    }
    if (!platform::MainThread::isMainThread()) {
        platform::MainThread::post([text, guard = QPointer<ui::View>(view)] {
            if (guard)
                tipMessage(text, guard);
        });
        return;
    }
    ZtProgressHUD *hud = ZtProgressHUD::showHUDAddedTo(view, true);
    hud->setLabelText(text);
    hud->setMode(ZtProgressHUDMode::Text);
    hud->setSquare(false);
    hud->setMargin(kTipMargin);
    hud->setDimBackground(false);
    hud->setUserInteractionEnabled(false);
    hud->setRemoveFromSuperViewOnHide(true);
    hud->setYOffset(kTipYOffset);
    hud->show(true);
    // A timer on the main thread, owned by the overlay: nothing sleeps, and a tip whose view
    // goes early simply never fires. Precise, so the tip never goes before its three seconds.
    QTimer::singleShot(tipDurationMs, Qt::PreciseTimer, hud, [hud] { hud->hide(true); });
}
