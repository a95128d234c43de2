// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "rvprogress.h"
#include "componentslog.h"

#include "platform/mainthread.h"
#include "toolkit/view.h"
#include "toolkit/viewcontroller.h"

#include <QThreadPool>

#include <chrono>
#include <exception>
#include <thread>

namespace
{

constexpr qreal kTargetFadedAlpha = 0.4;
constexpr std::chrono::seconds kTipDuration{3};
constexpr qreal kTipMargin = 8;
constexpr qreal kTipYOffset = 170;

// A screen's method that throws is reported; the overlay still goes and the screen comes
// back, rather than the process ending on a worker.
void runGuarded(const RVProgress::Method &method, RVProgress &progress, const char *what)
{
    if (!method)
        return;
    try {
        method(progress);
    } catch (const std::exception &error) {
        qCWarning(lcProgress) << what << "failed:" << error.what();
    } catch (...) {
        qCWarning(lcProgress) << what << "failed";
    }
}

// The view under the overlay: a screen's root view, or the target when it is a view.
ui::View *viewOf(QObject *target)
{
    if (auto *controller = qobject_cast<ui::ViewController *>(target))
        return controller->view();
    return qobject_cast<ui::View *>(target);
}

// The tip's wait. The sleeping block gives its pool slot back meanwhile, so that several
// tips (or other pooled work) never queue behind each other.
void waitForTip()
{
    QThreadPool::globalInstance()->releaseThread();
    std::this_thread::sleep_for(kTipDuration);
    QThreadPool::globalInstance()->reserveThread();
}

} // namespace

std::shared_ptr<RVProgress> RVProgress::create()
{
    return std::shared_ptr<RVProgress>(new RVProgress);
}

RVProgress::~RVProgress() = default;

void RVProgress::showWhileExecuting(Method method, std::shared_ptr<QObject> target,
                                    const QString &text)
{
    showWhileExecuting(std::move(method), std::move(target), text,
                       ZtProgressHUDMode::Indeterminate);
}

void RVProgress::showWhileExecuting(Method method, std::shared_ptr<QObject> target,
                                    const QString &text, ZtProgressHUDMode mode)
{
    if (!platform::MainThread::isMainThread()) {
        // Interface objects are touched on the main thread only.
        platform::MainThread::post([self = shared_from_this(), method = std::move(method),
                                    target = std::move(target), text, mode]() mutable {
            self->showWhileExecuting(std::move(method), std::move(target), text, mode);
        });
        return;
    }
    ui::View *view = viewOf(target.get());
    start(std::move(method), Method(), std::move(target), view, text, mode);
}

void RVProgress::showWhileExecuting(Method work, Method finish, std::shared_ptr<QObject> target,
                                    ui::View *view)
{
    showWhileExecuting(std::move(work), std::move(finish), std::move(target), view, QString());
}

void RVProgress::showWhileExecuting(Method work, Method finish, std::shared_ptr<QObject> target,
                                    ui::View *view, const QString &text)
{
    if (!platform::MainThread::isMainThread()) {
        platform::MainThread::post([self = shared_from_this(), work = std::move(work),
                                    finish = std::move(finish), target = std::move(target),
                                    guard = QPointer<ui::View>(view), text]() mutable {
            self->showWhileExecuting(std::move(work), std::move(finish), std::move(target), guard,
                                     text);
        });
        return;
    }
    start(std::move(work), std::move(finish), std::move(target), view, text,
          ZtProgressHUDMode::Indeterminate);
}

void RVProgress::start(Method work, Method finish, std::shared_ptr<QObject> target, ui::View *view,
                       const QString &text, ZtProgressHUDMode mode)
{
    if (m_running) {
        qCWarning(lcProgress) << "RVProgress is already running work; each use needs its own "
                                 "instance, this one is refused";
        return;
    }
    m_running = true;
    _targetClass = std::move(target);
    _targetView = view;
    _method = std::move(work);
    _finishMethod = std::move(finish);
    setLastExectionVariable(QVariant());
    setLastExectionOtherVariable(QVariant());

    if (_targetView) {
        m_HUD = ZtProgressHUD::showHUDAddedTo(_targetView, true);
        m_HUD->setLabelText(text);
        m_HUD->setMode(mode);
        m_HUD->setDimBackground(true);
        m_HUD->setRemoveFromSuperViewOnHide(true);
        // Faded here rather than by the worker: views belong to the main thread.
        _targetView->setAlpha(kTargetFadedAlpha);
    } else {
        qCWarning(lcProgress) << "RVProgress has no view to cover; the work runs without overlay";
    }
    std::thread([self = shared_from_this()]() mutable {
        launchExecution(std::move(self));
    }).detach();
    if (m_HUD)
        m_HUD->show(true);
}

// On the worker. The reference to this instance moves on into the main-thread clean-up, so
// the worker never makes the last release of it (nor of the screen it holds).
void RVProgress::launchExecution(std::shared_ptr<RVProgress> self)
{
    RVProgress &progress = *self;
    runGuarded(progress._method, progress, "work behind the progress overlay");
    platform::MainThread::post([self = std::move(self)]() mutable {
        self->cleanUp();
        self.reset();
    });
}

void RVProgress::cleanUp()
{
    runGuarded(_finishMethod, *this, "finish of the progress overlay");
    if (_targetView)
        _targetView->setAlpha(1.0);
    _method = nullptr;
    _finishMethod = nullptr;
    if (m_HUD)
        m_HUD->hide(true);
    m_running = false;
    // Nothing needs the target any more. Letting it go now also breaks the cycle of a screen
    // that keeps this instance.
    const std::shared_ptr<QObject> target = std::move(_targetClass);
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
    QPointer<ZtProgressHUD> guard(hud);
    hud->showAnimated(true, waitForTip, [guard] {
        if (guard)
            guard->removeFromSuperview();
    });
}

QVariant RVProgress::lastExectionVariable() const
{
    QMutexLocker lock(&m_slotsMutex);
    return m_lastExectionVariable;
}

void RVProgress::setLastExectionVariable(const QVariant &value)
{
    QMutexLocker lock(&m_slotsMutex);
    m_lastExectionVariable = value;
}

QVariant RVProgress::lastExectionOtherVariable() const
{
    QMutexLocker lock(&m_slotsMutex);
    return m_lastExectionOtherVariable;
}

void RVProgress::setLastExectionOtherVariable(const QVariant &value)
{
    QMutexLocker lock(&m_slotsMutex);
    m_lastExectionOtherVariable = value;
}
