// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/navigationcontroller.h"

#include "toolkit/animation.h"
#include "toolkit/button.h"
#include "toolkit/color.h"
#include "toolkit/focuschain.h"
#include "toolkit/navigationitem.h"
#include "toolkit/toolkitlog.h"
#include "toolkit/view.h"
#include "toolkit/window.h"

#include <QApplication>

namespace ui
{

NavigationController::NavigationController() = default;

NavigationController::~NavigationController()
{
    if (m_animation)
        m_animation->stop();
    for (const auto &controller : m_stack)
        controller->m_navigationController = nullptr;
}

std::shared_ptr<NavigationController>
NavigationController::initWithRootViewController(std::shared_ptr<ViewController> root)
{
    auto navigation = ViewController::create<NavigationController>();
    if (root)
        navigation->pushViewController(std::move(root), false);
    return navigation;
}

void NavigationController::loadView()
{
    auto *root = new View(QRectF(0, 0, Window::kWidth, Window::kHeight));
    root->setBackgroundColor(Color::blackColor());
    m_container = new View(contentFrame());
    root->addSubview(m_container);
    m_bar = new NavigationBar(QRectF(0, 0, Window::kWidth, NavigationBar::kHeight));
    m_bar->setHidden(m_barHidden);
    root->addSubview(m_bar);
    connect(m_bar, &NavigationBar::backButtonClicked, this,
            [this] { popViewControllerAnimated(true); });
    setView(root);
}

QRectF NavigationController::contentFrame() const
{
    const qreal top = m_barHidden ? 0 : NavigationBar::kHeight;
    return {0, top, Window::kWidth, Window::kHeight - top};
}

NavigationBar *NavigationController::navigationBar()
{
    view();
    return m_bar;
}

void NavigationController::setNavigationBarHidden(bool hidden)
{
    m_barHidden = hidden;
    if (!isViewLoaded())
        return;
    m_bar->setHidden(hidden);
    m_container->setFrame(contentFrame());
    for (const auto &controller : m_stack) {
        if (controller->isViewLoaded())
            controller->view()->setFrame(m_container->bounds());
    }
}

QList<std::shared_ptr<ViewController>> NavigationController::viewControllers() const
{
    return QList<std::shared_ptr<ViewController>>(m_stack.begin(), m_stack.end());
}

ViewController *NavigationController::topViewController() const
{
    return m_stack.empty() ? nullptr : m_stack.back().get();
}

void NavigationController::pushViewController(std::shared_ptr<ViewController> controller,
                                              bool animated)
{
    if (!controller || controller.get() == this) {
        qCWarning(lcToolkit) << "cannot push" << controller.get();
        return;
    }
    if (std::find(m_stack.begin(), m_stack.end(), controller) != m_stack.end()) {
        qCWarning(lcToolkit) << "the controller is already on the stack; not pushed again";
        return;
    }
    finishTransition();
    std::shared_ptr<ViewController> from = m_stack.empty() ? nullptr : m_stack.back();
    controller->m_navigationController = this;
    m_stack.push_back(controller);
    startTransition(std::move(from), std::move(controller), true, animated);
}

std::shared_ptr<ViewController> NavigationController::popViewControllerAnimated(bool animated)
{
    if (m_stack.size() < 2)
        return nullptr;
    const QList<std::shared_ptr<ViewController>> popped = popTo(m_stack.size() - 2, animated);
    return popped.isEmpty() ? nullptr : popped.last();
}

QList<std::shared_ptr<ViewController>>
NavigationController::popToRootViewControllerAnimated(bool animated)
{
    return popTo(0, animated);
}

QList<std::shared_ptr<ViewController>>
NavigationController::popToViewController(ViewController *controller, bool animated)
{
    for (size_t i = 0; i < m_stack.size(); ++i) {
        if (m_stack[i].get() == controller)
            return popTo(i, animated);
    }
    qCWarning(lcToolkit) << "popToViewController: the controller is not on the stack";
    return {};
}

QList<std::shared_ptr<ViewController>> NavigationController::popTo(size_t depth, bool animated)
{
    if (depth + 1 >= m_stack.size())
        return {};
    finishTransition();
    QList<std::shared_ptr<ViewController>> popped(m_stack.begin() + qsizetype(depth) + 1,
                                                  m_stack.end());
    m_stack.resize(depth + 1);
    for (const auto &controller : popped)
        controller->m_navigationController = nullptr;
    // Screens between the top and the target leave without being shown again.
    for (qsizetype i = 0; i + 1 < popped.size(); ++i) {
        if (View *v = popped.at(i)->isViewLoaded() ? popped.at(i)->view() : nullptr) {
            v->hide();
            v->setParent(nullptr);
        }
    }
    startTransition(popped.last(), m_stack.back(), false, animated,
                    std::vector<std::shared_ptr<ViewController>>(popped.begin(), popped.end()));
    return popped;
}

void NavigationController::installView(ViewController *controller)
{
    view();
    View *v = controller->view();
    if (v->parentWidget() != m_container)
        v->setParent(m_container);
    v->setFrame(m_container->bounds());
    if (!v->isHidden())
        v->show();
}

void NavigationController::startTransition(std::shared_ptr<ViewController> from,
                                           std::shared_ptr<ViewController> to, bool push,
                                           bool animated,
                                           std::vector<std::shared_ptr<ViewController>> popped)
{
    const bool callbacks = m_onScreen;
    to->view(); // loaded (viewDidLoad) before it hears that it will appear
    m_transition = Transition{from, to, push, animated, callbacks, std::move(popped)};
    if (callbacks) {
        if (from)
            from->viewWillDisappear(animated);
        to->viewWillAppear(animated);
    }
    if (!m_transition || m_transition->to != to)
        return; // a callback started another transition, which finished this one
    installView(to.get());
    updateBar();
    View *toView = to->view();
    View *fromView = from && from->isViewLoaded() ? from->view() : nullptr;
    if (push || !fromView)
        toView->raise();
    else
        fromView->raise();
    const qreal w = m_container->width();
    if (!animated || !fromView || Animation::isDisabled()) {
        completeTransition();
        return;
    }
    QPointer<View> inView(toView);
    QPointer<View> outView(fromView);
    m_animation = Animation::animate(
        this, Animation::kDefaultDurationMs,
        [inView, outView, push, w](qreal t) {
            // Push: the new screen comes in from the right over the old one moving left.
            // Pop: the top screen leaves to the right uncovering the one beneath.
            const qreal inX = push ? w * (1 - t) : -w * 0.3 * (1 - t);
            const qreal outX = push ? -w * 0.3 * t : w * t;
            if (inView)
                inView->move(int(inX), 0);
            if (outView)
                outView->move(int(outX), 0);
        },
        [this] { completeTransition(); });
}

void NavigationController::completeTransition()
{
    if (!m_transition)
        return;
    Transition t = std::move(*m_transition);
    m_transition.reset();
    m_animation = nullptr;
    if (t.to->isViewLoaded())
        handOverFocus(t.from && t.from->isViewLoaded() ? t.from->view() : nullptr, t.to->view());
    if (t.from && t.from->isViewLoaded()) {
        View *fromView = t.from->view();
        fromView->hide();
        fromView->setFrame(m_container->bounds());
        if (std::find(m_stack.begin(), m_stack.end(), t.from) == m_stack.end())
            fromView->setParent(nullptr);
    }
    if (t.to->isViewLoaded())
        t.to->view()->setFrame(m_container->bounds());
    if (t.callbacks) {
        if (t.from)
            t.from->viewDidDisappear(t.animated);
        t.to->viewDidAppear(t.animated);
    }
    releaseLater(std::move(t.popped));
    Q_EMIT transitionFinished();
}

void NavigationController::finishTransition()
{
    if (!m_transition)
        return;
    if (m_animation)
        m_animation->stop();
    completeTransition();
}

void NavigationController::releaseLater(std::vector<std::shared_ptr<ViewController>> controllers)
{
    if (controllers.empty())
        return;
    // The slide that showed them has ended, but this may run inside a call of one of them (a
    // screen that pops itself): the references go on the next turn of the event loop, once.
    QMetaObject::invokeMethod(
        this, [released = std::move(controllers)]() mutable { released.clear(); },
        Qt::QueuedConnection);
}

void NavigationController::updateBar()
{
    QList<NavigationItem *> items;
    for (const auto &controller : m_stack)
        items.append(controller->navigationItem());
    navigationBar()->setItems(items);
}

void NavigationController::handOverFocus(View *leaving, View *coming)
{
    QWidget *focus = QApplication::focusWidget();
    const bool left = focus && leaving && leaving->isAncestorOf(focus);
    // A screen reader follows the focus, so with one listening the new screen's first field
    // takes it. Otherwise no field takes the keyboard just because a screen came (the phone's
    // way); the window holds it and Tab goes on from the top of the new screen.
    if (QAccessible::isActive()) {
        if (QWidget *first = FocusChain::firstField(coming)) {
            first->setFocus(Qt::OtherFocusReason);
            FocusChain::reveal(first);
            return;
        }
    }
    if (left)
        coming->window()->setFocus(Qt::OtherFocusReason);
}

bool NavigationController::accessibilityPerformEscape()
{
    if (!isViewLoaded() || m_barHidden || m_stack.size() < 2)
        return false;
    Button *back = m_bar->backButton();
    if (back->isHidden() || !back->isEnabled())
        return false;
    back->sendActionsForControlEvents(ControlEvent::TouchUpInside);
    return true;
}

void NavigationController::viewWillAppear(bool animated)
{
    if (ViewController *top = topViewController())
        top->viewWillAppear(animated);
}

void NavigationController::viewDidAppear(bool animated)
{
    m_onScreen = true;
    if (ViewController *top = topViewController())
        top->viewDidAppear(animated);
}

void NavigationController::viewWillDisappear(bool animated)
{
    if (ViewController *top = topViewController())
        top->viewWillDisappear(animated);
}

void NavigationController::viewDidDisappear(bool animated)
{
    m_onScreen = false;
    if (ViewController *top = topViewController())
        top->viewDidDisappear(animated);
}

void NavigationController::didReceiveMemoryWarning()
{
    const auto stack = m_stack;
    for (const auto &controller : stack)
        controller->didReceiveMemoryWarning();
}

} // namespace ui
