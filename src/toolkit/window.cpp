// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/window.h"

#include "toolkit/accessibility.h"
#include "toolkit/alertview.h"
#include "toolkit/focuschain.h"
#include "toolkit/view.h"
#include "toolkit/viewcontroller.h"

#include <QApplication>
#include <QKeyEvent>

namespace ui
{

namespace
{
QPointer<Window> s_keyWindow;
} // namespace

Window::Window(QWidget *parent) : QWidget(parent)
{
    Accessibility::install();
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_NoSystemBackground);
    // The window itself holds the focus until a field asks for it: on the phone no field
    // takes the keyboard just because the screen appeared.
    setFocusPolicy(Qt::ClickFocus);
    setFocus();
    if (!s_keyWindow)
        s_keyWindow = this;
}

Window::~Window()
{
    // The root's view is one of ours: drop the controller while the view still exists.
    m_root.reset();
}

void Window::setRootViewController(std::shared_ptr<ViewController> controller)
{
    if (controller == m_root)
        return;
    const bool shown = isVisible();
    if (m_root) {
        if (shown && m_rootAppeared)
            m_root->viewWillDisappear(false);
        if (m_root->isViewLoaded()) {
            m_root->view()->hide();
            m_root->view()->setParent(nullptr);
        }
        if (shown && m_rootAppeared)
            m_root->viewDidDisappear(false);
    }
    m_root = std::move(controller);
    m_rootAppeared = false;
    if (!m_root)
        return;
    View *view = m_root->view();
    view->setParent(this);
    view->setFrame(QRectF(rect()));
    view->show();
    if (shown) {
        m_root->viewWillAppear(false);
        m_rootAppeared = true;
        m_root->viewDidAppear(false);
    }
}

void Window::makeKeyAndVisible()
{
    s_keyWindow = this;
    const bool appear = m_root && !m_rootAppeared;
    if (appear)
        m_root->viewWillAppear(false);
    show();
    if (appear) {
        m_rootAppeared = true;
        m_root->viewDidAppear(false);
    }
    // A screen reader starts on the first screen's first field, as on every later screen.
    if (QAccessible::isActive()) {
        if (QWidget *first = FocusChain::firstField(this))
            first->setFocus(Qt::OtherFocusReason);
    }
}

Window *Window::keyWindow()
{
    return s_keyWindow.data();
}

bool Window::focusNextPrevChild(bool next)
{
    QWidget *focus = QApplication::focusWidget();
    if (focus && focus != this && isAncestorOf(focus) && !focus->isVisible()) {
        setFocus(Qt::OtherFocusReason);
        return true;
    }
    return FocusChain::moveFocus(this, next);
}

void Window::keyPressEvent(QKeyEvent *event)
{
    const bool escape = event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier;
    const bool altLeft = event->key() == Qt::Key_Left && event->modifiers() == Qt::AltModifier;
    if (!escape && !altLeft) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    const QList<AlertView *> alerts = AlertView::visibleAlerts();
    if (!alerts.isEmpty()) {
        alerts.last()->setFocus(Qt::OtherFocusReason);
        if (escape)
            QCoreApplication::sendEvent(alerts.last(), event);
        return;
    }
    if (m_root)
        m_root->accessibilityPerformEscape();
}

} // namespace ui
