// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "components/ztprogresshud.h"

#include "toolkit/viewcontroller.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace ui
{
class View;
}

// The progress overlay over a screen while its service work runs, and short tips that hide
// by themselves. The work itself goes through platform::Background, the one way work leaves
// the main thread; run and fetch wrap it for the screens that still call them. One instance
// per use.
//
// The hand-over is the point of this class. The work gets copies of its inputs and RETURNS
// what it found; it never writes the screen. The finish runs on the main thread with the
// screen and that value, and is the only place that assigns the screen's fields, so a table
// that reads them on the main thread never races a worker:
//
//     RVProgress::run(this, u"加载中"_s,
//                     [hospid = m_hospid] { return fetch(hospid); },        // worker
//                     [](RVHospitalListViewController &self, Outcome outcome) {  // main
//                         self.apply(outcome);
//                     });
//
// The instance holds the screen strongly, so a screen popped meanwhile lives until its finish
// has run; the last release always happens on the main thread. Once the application is
// quitting, finishes no longer run.
class RVProgress final : public std::enable_shared_from_this<RVProgress>
{
public:
    ~RVProgress();
    Q_DISABLE_COPY_MOVE(RVProgress)

    // Runs work() on a worker behind the overlay with the text over the screen's root view
    // (or over the given view), then finish(screen, result) on the main thread. work takes no
    // arguments: capture copies. finish takes (Screen &, T) for work returning T, or
    // (Screen &) for work returning nothing. Meant for the main thread; called elsewhere it
    // starts from the main thread. Returns the instance, or null when the screen is not held
    // by a shared pointer.
    template <class Screen, class Work, class Finish>
    static std::shared_ptr<RVProgress> run(Screen *screen, const QString &text, Work work,
                                           Finish finish)
    {
        return run(screen, nullptr, text, std::move(work), std::move(finish));
    }
    template <class Screen, class Work, class Finish>
    static std::shared_ptr<RVProgress> run(Screen *screen, ui::View *view, const QString &text,
                                           Work work, Finish finish)
    {
        return launch(screen, view, text, true, std::move(work), std::move(finish));
    }

    // The same hand-over with no overlay and nothing faded: the doctor list's further pages,
    // fetched while the user keeps scrolling. The screen is kept alive until finish has run.
    template <class Screen, class Work, class Finish>
    static std::shared_ptr<RVProgress> fetch(Screen *screen, Work work, Finish finish)
    {
        return launch(screen, nullptr, QString(), false, std::move(work), std::move(finish));
    }

    // Shows the text alone for about 3 seconds below the middle of the view, letting touches
    // through, then hides it. Given the navigation container's view, the tip outlives the
    // screen that showed it.
    static void tipMessage(const QString &text, ui::View *view);
    static constexpr int tipDurationMs = 3000;

    // The overlay of the running use (main thread); null once it has gone, and for a fetch.
    ZtProgressHUD *HUD() const { return m_HUD.data(); }
    bool isRunning() const { return m_running; }

    // The alpha the covered content takes while the overlay shows.
    static constexpr qreal fadedAlpha = 0.4;

private:
    // What the worker hands back: the main-thread half, carrying the work's value.
    using Apply = std::function<void()>;
    using Job = std::function<Apply()>;

    RVProgress() = default;
    static std::shared_ptr<RVProgress> create();

    template <class Screen, class Work, class Finish>
    static std::shared_ptr<RVProgress> launch(Screen *screen, ui::View *view, const QString &text,
                                              bool overlay, Work work, Finish finish)
    {
        static_assert(std::is_base_of_v<ui::ViewController, Screen>,
                      "RVProgress::run takes a screen (a view controller)");
        std::shared_ptr<ui::ViewController> keep =
            screen ? screen->weak_from_this().lock() : nullptr;
        if (!keep) {
            refuseUnowned();
            return nullptr;
        }
        Job job = [work = std::move(work), finish = std::move(finish), screen]() -> Apply {
            using T = std::invoke_result_t<Work &>;
            if constexpr (std::is_void_v<T>) {
                work();
                return [finish, screen] { finish(*screen); };
            } else {
                // Shared so that the main-thread half stays copyable whatever T is.
                auto value = std::make_shared<T>(work());
                return [finish, screen, value] { finish(*screen, std::move(*value)); };
            }
        };
        auto progress = create();
        progress->startJob(std::move(job), std::move(keep), view, text, overlay);
        return progress;
    }
    static void refuseUnowned();

    void startJob(Job job, std::shared_ptr<ui::ViewController> target, ui::View *view,
                  const QString &text, bool overlay);
    void cleanUp(const Apply &apply);
    void fadeTarget();
    void unfadeTarget();

    // Named as the rest of the program knows them.
    std::shared_ptr<ui::ViewController> _targetClass;
    QPointer<ui::View> _targetView;
    Job _method;
    QPointer<ZtProgressHUD> m_HUD;
    QList<std::pair<QPointer<ui::View>, qreal>> m_faded;
    bool m_running = false;
};
