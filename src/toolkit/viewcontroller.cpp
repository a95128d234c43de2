// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "viewcontroller.h"

#include "application.h"
#include "color.h"
#include "navigationcontroller.h"
#include "navigationitem.h"
#include "storyboard.h"
#include "storyboardsegue.h"
#include "toolkitlog.h"
#include "view.h"
#include "window.h"

using namespace Qt::StringLiterals;

namespace ui
{

ViewController::ViewController(QObject *parent)
    : QObject(parent), m_navigationItem(new NavigationItem(this))
{
}

ViewController::~ViewController()
{
    if (!m_view)
        return;
    if (Application::isMainThread()) {
        delete m_view.data();
    } else {
        qCWarning(lcToolkit) << "a screen was released off the main thread; its view goes there";
        m_view->deleteLater();
    }
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
