// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/application.h"

#include "toolkit/toolkitlog.h"
#include "toolkit/viewcontroller.h"
#include "toolkit/window.h"

#include <QCoreApplication>
#include <QDesktopServices>

#include <atomic>

namespace ui
{

namespace
{
std::atomic_bool s_networkActivity{false};
} // namespace

bool Application::canOpenURL(const QUrl &url)
{
    return url.isValid() && !url.scheme().isEmpty();
}

bool Application::openURL(const QUrl &url)
{
    if (!canOpenURL(url)) {
        qCWarning(lcToolkit) << "cannot open" << url;
        return false;
    }
    return QDesktopServices::openUrl(url);
}

void Application::setNetworkActivityIndicatorVisible(bool visible)
{
    s_networkActivity = visible;
}

bool Application::isNetworkActivityIndicatorVisible()
{
    return s_networkActivity;
}

void Application::simulateMemoryWarning()
{
    if (Window *window = Window::keyWindow()) {
        if (const auto root = window->rootViewController())
            root->didReceiveMemoryWarning();
    }
}

} // namespace ui
