// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "accountscreentesting.h"

#include "protocols/rvappconfiginfo.h"
#include "protocols/rvprotocol.h"
#include "protocols/rvuserregister.h"
#include "screenfixture.h"
#include "screens/home/rvmainviewcontroller.h"
#include "service/rvservicethread.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/storyboard.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"
#include "toolkit/textfield.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

std::unique_ptr<RVServiceThread> AccountScreenTesting::startService(QString *error)
{
    auto service = std::make_unique<RVServiceThread>();
    if (!service->startService(error))
        return nullptr;
    RVProtocol::setServiceEndpoint(u"127.0.0.1"_s, service->port());
    return service;
}

ui::TextField *AccountScreenTesting::field(ui::TableView *table, int row)
{
    ui::TableViewCell *cell = table != nullptr ? table->cellForRowAtIndexPath({0, row}) : nullptr;
    if (cell == nullptr)
        return nullptr;
    if (auto *accessory = qobject_cast<ui::TextField *>(cell->accessoryView()))
        return accessory;
    return cell->contentView()->findChild<ui::TextField *>();
}

void AccountScreenTesting::type(ui::TextField *field, const QString &text)
{
    QLineEdit *edit = field->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    if (text.isEmpty())
        return;
    QInputMethodEvent typed;
    typed.setCommitString(text);
    QCoreApplication::sendEvent(edit, &typed);
}

QString AccountScreenTesting::freshAccountName()
{
    static int count = 0;
    return u"acct%1"_s.arg(++count);
}

RVUserInfo AccountScreenTesting::registerAndLogin(const QString &name, const QString &password)
{
    RVUserRegister record;
    record.setYhm(name);
    record.setXm(u"王五"_s);
    record.setMm(password);
    record.setSjhm(u"13800000000"_s);
    record.setSfzhm(u"110101199003071234"_s);
    record.setDz(u"北京市东城区"_s);
    RVProtocol().userRegister(record.body_dict());
    const std::optional<RVUserInfo> user = RVProtocol().login(name, password);
    return user.value_or(RVUserInfo());
}

bool AccountScreenTesting::launchSettled(ScreenFixture &app)
{
    app.launch();
    auto *home = qobject_cast<RVMainViewController *>(app.navigation()->topViewController());
    return home != nullptr &&
           QTest::qWaitFor([home] { return !home->automaticLoginRunning(); }, 10000);
}

ui::ViewController *AccountScreenTesting::push(ui::NavigationController *navigation,
                                               const QString &identifier)
{
    auto screen = ui::Storyboard::storyboardWithName(u"MainStoryboard"_s)
                      ->instantiateViewControllerWithIdentifier(identifier);
    if (!screen)
        return nullptr;
    navigation->pushViewController(screen, false);
    return screen.get();
}
