// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/account/rvloginviewcontroller.h"

#include "components/rvprogress.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvprotocol.h"
#include "screens/account/rvaccountform.h"
#include "screens/shared/rvalert.h"
#include "screens/shared/rvformtextfield.h"
#include "toolkit/button.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/storyboard.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"
#include "toolkit/textfield.h"

using namespace Qt::StringLiterals;

namespace
{
const QString reuseIdentifier = u"ReuseTabCell"_s;
const QString registerSegue = u"register"_s;
} // namespace

RVLoginViewController::RVLoginViewController()
{
    setTitle(tr("登录"));
}

RVLoginViewController::~RVLoginViewController() = default;

void RVLoginViewController::loadView()
{
    ui::ViewController::loadView();
    m_tableView = new ui::TableView(QRectF(0, 10, 320, 100));
    m_tableView->setScrollEnabled(false);
    m_tableView->registerClass<ui::TableViewCell>(reuseIdentifier);
    view()->addSubview(m_tableView);

    m_loginButton = new ui::Button(ui::ButtonType::RoundedRect, QRectF(20, 126, 280, 44));
    m_loginButton->setTitle(tr("登录"));
    m_loginButton->addTarget([this](ui::Control *sender) { login(sender); },
                             ui::ControlEvent::TouchUpInside);
    view()->addSubview(m_loginButton);

    // Registration is reached through the storyboard alone; offer it where it exists.
    if (storyboard() != nullptr && !storyboard()->destinationOfSegue(registerSegue).isEmpty()) {
        auto *registerButton =
            new ui::Button(ui::ButtonType::RoundedRect, QRectF(20, 182, 280, 44));
        registerButton->setTitle(tr("注册新用户"));
        registerButton->addTarget(
            [this](ui::Control *sender) { performSegueWithIdentifier(registerSegue, sender); },
            ui::ControlEvent::TouchUpInside);
        view()->addSubview(registerButton);
    }
    // Also here, so that a patient who cannot read the small print can enlarge it before
    // having an account.
    view()->addSubview(m_largeText.makeTable(QRectF(0, 246, 320, 44)));
}

void RVLoginViewController::viewDidLoad()
{
    m_tableView->setDataSource(this);
    RVAccountForm::applyFormBackground(view(), m_tableView);
    m_tableView->reloadData();
}

ui::TableViewCell *RVLoginViewController::cellForRowAtIndexPath(ui::TableView *tableView,
                                                                const ui::IndexPath &indexPath)
{
    ui::TableViewCell *cell =
        tableView->dequeueReusableCellWithIdentifier(reuseIdentifier, indexPath);
    RVFormTextField::Options options;
    options.row = indexPath.row;
    if (indexPath.row == 0) {
        const QString saved = RVBaseInfo::text(RVAppConfigInfo().userInfo().yhm());
        if (!saved.isEmpty())
            _userName = saved;
        options.text = saved;
        options.placeholder = saved.isEmpty() ? tr("帐户") : QString();
    } else {
        options.secure = true;
        options.placeholder = tr("密码");
    }
    ui::TextField *field = RVFormTextField::install(cell, options, nullptr);
    // A saved name fills the field and leaves no placeholder to read it by.
    if (indexPath.row == 0)
        field->setAccessibilityLabel(tr("帐户"));
    field->addTarget([this](ui::Control *sender) { textFieldWithText(sender); },
                     ui::ControlEvent::EditingChanged);
    if (indexPath.row == 1)
        RVAccountForm::submitFromLastField(field, m_loginButton);
    return cell;
}

void RVLoginViewController::textFieldWithText(ui::Control *sender)
{
    const auto *field = qobject_cast<ui::TextField *>(sender);
    if (field == nullptr)
        return;
    if (field->tag() == 0)
        _userName = field->text();
    else if (field->tag() == 1)
        _password = field->text();
}

void RVLoginViewController::textFieldDoneEditing(ui::Control *sender)
{
    if (auto *field = qobject_cast<ui::TextField *>(sender))
        field->resignFirstResponder();
}

void RVLoginViewController::login(ui::Control *)
{
    if (_userName.isEmpty()) {
        RVAlert::show(tr("请填写用户名"));
        return;
    }
    if (_password.isEmpty()) {
        RVAlert::show(tr("请填写密码"));
        return;
    }
    RVProgress::run(
        this, tr("登录中"),
        [name = _userName, password = _password] { return RVProtocol().login(name, password); },
        [](RVLoginViewController &self, const std::optional<RVUserInfo> &reply) {
            self.finishedLogin(reply);
        });
}

void RVLoginViewController::finishedLogin(const std::optional<RVUserInfo> &reply)
{
    getUserInfo = reply;
    if (!reply || !reply->state()) {
        // A user who went back meanwhile is not shown the failure of a login left behind.
        alertIfOnTop(tr("登录失败"), reply ? RVBaseInfo::text(reply->errorMsg()) : QString());
        return;
    }
    if (RVBaseInfo::text(reply->yhm()).isEmpty())
        return;
    // The tip goes over the navigation container, so it tells of the login wherever the user
    // is now; the screen pops only if it is still the one shown.
    if (ui::NavigationController *navigation = navigationController())
        RVAlert::tip(tr("登录成功"), navigation->view());
    popIfOnTop();
}
