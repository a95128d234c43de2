// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screenfixture.h"

#include "app/rvmainstoryboard.h"
#include "components/ztprogresshud.h"
#include "platform/secretstore.h"
#include "platform/userdefaults.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvloginvalues.h"
#include "protocols/rvnetworklayer.h"
#include "toolkit/alertview.h"
#include "toolkit/animation.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/storyboard.h"
#include "toolkit/window.h"

#include <QFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

ScreenFixture::ScreenFixture()
{
    prepareOnce();
}

ScreenFixture::~ScreenFixture()
{
    for (ui::AlertView *alert : ui::AlertView::visibleAlerts())
        alert->dismissWithClickedButtonIndex(0, false);
    m_navigation.reset();
    m_window.reset();
}

void ScreenFixture::prepareOnce()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    QStandardPaths::setTestModeEnabled(true);
    // The network library sets itself up on the main thread, not on the first worker.
    RVNetworkLayer::defaultLayer();
    ui::Animation::setDisabledForTests(true);
    RVMainStoryboard::registerScreens();
    ui::Storyboard *storyboard = ui::Storyboard::storyboardWithName(u"MainStoryboard"_s);
    for (const QString &id : {u"personal"_s, u"appointMent"_s, u"hospitalList"_s}) {
        if (!storyboard->identifiers().contains(id))
            storyboard->registerViewController(id, [id] {
                auto screen = ui::ViewController::create<StandInScreen>(id);
                screen->setProperty(RVMainStoryboard::identifierProperty, id);
                return screen;
            });
    }
}

void ScreenFixture::forgetLogin()
{
    prepareOnce(); // the saved values must live in the test location before first use
    // A password write still queued from the last test would save the values it saw before
    // the file went, bringing the last login back.
    platform::SecretStore::standard().flush(5000);
    QFile::remove(platform::UserDefaults::standardFilePath());
    platform::UserDefaults::standardUserDefaults().reload();
    platform::SecretStore::standard().removePassword();
    RVLoginValues::clear();
    RVAppConfigInfo::setUserLoginStats(false);
}

void ScreenFixture::launch()
{
    auto root = ui::Storyboard::storyboardWithName(u"MainStoryboard"_s)
                    ->instantiateViewControllerWithIdentifier(u"main"_s);
    m_navigation = ui::NavigationController::initWithRootViewController(root);
    m_window = std::make_unique<ui::Window>();
    m_window->setRootViewController(m_navigation);
    m_window->makeKeyAndVisible();
}

// By storyboard identifier, so that a test keeps working when a real screen replaces a
// stand-in under the same identifier.
QString ScreenFixture::topIdentifier() const
{
    return RVMainStoryboard::identifierOf(m_navigation->topViewController());
}

ui::AlertView *ScreenFixture::visibleAlert()
{
    const auto alerts = ui::AlertView::visibleAlerts();
    return alerts.isEmpty() ? nullptr : alerts.last();
}

QString ScreenFixture::tipText(ui::NavigationController *navigation)
{
    const auto huds = ZtProgressHUD::allHUDsForView(navigation->view());
    return huds.isEmpty() ? QString() : huds.first()->labelText();
}
