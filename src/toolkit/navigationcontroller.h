// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "toolkit/navigationbar.h"
#include "toolkit/viewcontroller.h"

#include <QList>
#include <QPointer>
#include <QVariantAnimation>

#include <memory>
#include <optional>
#include <vector>

namespace ui
{

// The stack of screens with the bar on top. Pushing slides the new screen in from the right,
// popping slides the top one out (about 0.3 s, or at once when not animated or when animation
// is off). The screens hear viewWillAppear/viewWillDisappear before the slide and
// viewDidAppear/viewDidDisappear after it, as long as the stack itself is on screen. A new
// transition finishes the running one first. Controllers taken off the stack are released once
// their slide has ended, from the event loop, never inside one of their own calls.
class NavigationController : public ViewController
{
    Q_OBJECT

public:
    NavigationController();
    ~NavigationController() override;
    static std::shared_ptr<NavigationController>
    initWithRootViewController(std::shared_ptr<ViewController> root);

    void pushViewController(std::shared_ptr<ViewController> controller, bool animated);
    // The popped controller, or null when only the root is left.
    std::shared_ptr<ViewController> popViewControllerAnimated(bool animated);
    QList<std::shared_ptr<ViewController>> popToRootViewControllerAnimated(bool animated);
    QList<std::shared_ptr<ViewController>> popToViewController(ViewController *controller,
                                                               bool animated);
    QList<std::shared_ptr<ViewController>> viewControllers() const;
    QList<std::shared_ptr<ViewController>> childViewControllers() const
    {
        return viewControllers();
    }
    ViewController *topViewController() const;
    ViewController *visibleViewController() const { return topViewController(); }

    NavigationBar *navigationBar();
    bool isNavigationBarHidden() const { return m_barHidden; }
    void setNavigationBarHidden(bool hidden);
    // The area the screens' views fill, in the navigation view.
    QRectF contentFrame() const;

    bool isTransitioning() const { return m_transition.has_value(); }
    // Ends a running slide at once, with its callbacks.
    void finishTransition();

    void loadView() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidDisappear(bool animated) override;
    void didReceiveMemoryWarning() override;
    // Presses the bar's back button while it shows.
    bool accessibilityPerformEscape() override;

Q_SIGNALS:
    void transitionFinished();

private:
    struct Transition {
        std::shared_ptr<ViewController> from;
        std::shared_ptr<ViewController> to;
        bool push = true;
        bool animated = false;
        bool callbacks = false;
        // Taken off the stack by this transition: released once it has ended.
        std::vector<std::shared_ptr<ViewController>> popped;
    };

    void startTransition(std::shared_ptr<ViewController> from, std::shared_ptr<ViewController> to,
                         bool push, bool animated,
                         std::vector<std::shared_ptr<ViewController>> popped = {});
    void completeTransition();
    void releaseLater(std::vector<std::shared_ptr<ViewController>> controllers);
    void updateBar();
    // The focus inside a screen that leaves goes where the next screen wants it.
    void handOverFocus(View *leaving, View *coming);
    void installView(ViewController *controller);
    QList<std::shared_ptr<ViewController>> popTo(size_t depth, bool animated);

    std::vector<std::shared_ptr<ViewController>> m_stack;
    std::optional<Transition> m_transition;
    QPointer<QVariantAnimation> m_animation;
    NavigationBar *m_bar = nullptr;
    View *m_container = nullptr;
    bool m_onScreen = false;
    bool m_barHidden = false;
};

} // namespace ui
