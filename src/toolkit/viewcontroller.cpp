// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/viewcontroller.h"

#include "toolkit/application.h"
#include "toolkit/color.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/navigationitem.h"
#include "toolkit/storyboard.h"
#include "toolkit/storyboardsegue.h"
#include "toolkit/toolkitlog.h"
#include "toolkit/view.h"
#include "toolkit/window.h"

#include "platform/mainthread.h"

#include <QCoreApplication>

#include <mutex>
#include <vector>

using namespace Qt::StringLiterals;

namespace ui
{

ViewController::ViewController() : m_navigationItem(new NavigationItem(this)) {}

ViewController::~ViewController()
{
    if (!m_view)
        return;
    if (platform::MainThread::isMainThread()) {
        destroyView();
        return;
    }
    // Only a screen made without create() gets here: its view cannot be destroyed on this
    // thread, and the screen is gone before the main thread could run anything for it.
    qCCritical(lcToolkit) << "a screen not made by ViewController::create was released off the"
                             " main thread; its view is left to the main thread";
    m_view->deleteLater();
}

void ViewController::release(ViewController *controller)
{
    if (!controller)
        return;
    if (platform::MainThread::isMainThread()) {
        controller->destroyView();
        delete controller;
        return;
    }
    if (QCoreApplication::instance()) {
        // Handed over once; should the event loop not run again (the application is quitting)
        // the posted call is dropped and the screen is left to the exit.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [controller] { release(controller); },
            Qt::QueuedConnection);
        return;
    }
    // The application is gone (work that outlived the quit). A screen's objects (its view, its
    // timers) belong to the main thread and may not be destroyed here, and no thread is left
    // that may: the screen is left to the process exit.
    qCWarning(lcToolkit) << "a screen released after the application ended is left to the exit";
    static std::mutex mutex;
    static auto *leftToTheExit = new std::vector<ViewController *>; // reachable: not a leak
    const std::lock_guard lock(mutex);
    leftToTheExit->push_back(controller);
}

bool ViewController::isCreated(const std::shared_ptr<ViewController> &controller)
{
    using Deleter = void (*)(ViewController *);
    const Deleter *deleter = std::get_deleter<Deleter>(controller);
    return deleter && *deleter == &ViewController::release;
}

void ViewController::destroyView()
{
    delete m_view.data();
}

QSizeF ViewController::defaultViewSize()
{
    return {Window::kWidth, Window::kHeight - NavigationBar::kHeight};
}

NavigationController *ViewController::navigationController() const
{
    return m_navigationController.data();
}

View *ViewController::view()
{
    if (!m_view && !m_loading) {
        m_loading = true;
        loadView();
        if (!m_view)
            setView(new View(QRectF(QPointF(0, 0), defaultViewSize())));
        m_loading = false;
        viewDidLoad();
    }
    return m_view;
}

void ViewController::setView(View *view)
{
    if (m_view == view)
        return;
    if (m_view)
        m_view->removeFromSuperview();
    m_view = view;
}

void ViewController::setTitle(const QString &title)
{
    m_title = title;
    m_navigationItem->setTitle(title);
}

void ViewController::loadView()
{
    auto *root = new View(QRectF(QPointF(0, 0), defaultViewSize()));
    root->setBackgroundColor(Color::whiteColor());
    setView(root);
}

void ViewController::performSegueWithIdentifier(const QString &identifier, QObject *sender)
{
    Storyboard *board =
        m_storyboard ? m_storyboard : Storyboard::storyboardWithName(u"MainStoryboard"_s);
    const QString destination = board->destinationOfSegue(identifier);
    if (destination.isEmpty()) {
        qCWarning(lcToolkit) << "no segue" << identifier << "in storyboard" << board->name();
        return;
    }
    StoryboardSegue segue{identifier, this,
                          board->instantiateViewControllerWithIdentifier(destination)};
    if (!segue.destinationViewController)
        return;
    prepareForSegue(segue, sender);
    if (NavigationController *navigation = navigationController())
        navigation->pushViewController(segue.destinationViewController, true);
}

} // namespace ui
