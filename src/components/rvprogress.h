// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "ztprogresshud.h"

#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

namespace ui
{
class View;
}

// How a screen runs its service work: the work on a thread of its own behind an overlay over
// the screen, then an optional finish on the main thread, then the overlay goes; and short
// tips that hide by themselves. One instance per use. It holds the target (the screen)
// strongly, and the worker holds the instance, so a screen popped meanwhile lives until its
// work and finish have run; the worker hands its reference to the main thread, so the last
// release (and with it the screen's destruction) always happens there. The two result slots
// carry what the work found to the finish.
class RVProgress final : public std::enable_shared_from_this<RVProgress>
{
public:
    using Method = std::function<void(RVProgress &)>;

    static std::shared_ptr<RVProgress> create();
    ~RVProgress();
    Q_DISABLE_COPY_MOVE(RVProgress)

    // The overlay goes over the target's root view when the target is a view controller,
    // over the target itself when it is a view. Main thread; a second use while one runs is
    // refused with a warning.
    void showWhileExecuting(Method method, std::shared_ptr<QObject> target, const QString &text);
    void showWhileExecuting(Method method, std::shared_ptr<QObject> target, const QString &text,
                            ZtProgressHUDMode mode);
    // With the given view under the overlay and a finish run on the main thread afterwards.
    void showWhileExecuting(Method work, Method finish, std::shared_ptr<QObject> target,
                            ui::View *view);
    void showWhileExecuting(Method work, Method finish, std::shared_ptr<QObject> target,
                            ui::View *view, const QString &text);

    // Shows the text alone for about 3 seconds below the middle of the view, letting touches
    // through, then hides it. Given the navigation container's view, the tip outlives the
    // screen that showed it.
    static void tipMessage(const QString &text, ui::View *view);

    // The result slots: any thread (the work writes them, the finish reads them after).
    QVariant lastExectionVariable() const;
    void setLastExectionVariable(const QVariant &value);
    QVariant lastExectionOtherVariable() const;
    void setLastExectionOtherVariable(const QVariant &value);

    // The overlay of the running use (main thread); null once it has gone.
    ZtProgressHUD *HUD() const { return m_HUD.data(); }
    bool isRunning() const { return m_running; }

private:
    RVProgress() = default;

    void start(Method work, Method finish, std::shared_ptr<QObject> target, ui::View *view,
               const QString &text, ZtProgressHUDMode mode);
    static void launchExecution(std::shared_ptr<RVProgress> self);
    void cleanUp();

    // Named as the rest of the program knows them.
    std::shared_ptr<QObject> _targetClass;
    QPointer<ui::View> _targetView;
    Method _method;
    Method _finishMethod;
    QPointer<ZtProgressHUD> m_HUD;
    bool m_running = false;

    mutable QMutex m_slotsMutex;
    QVariant m_lastExectionVariable;
    QVariant m_lastExectionOtherVariable;
};
