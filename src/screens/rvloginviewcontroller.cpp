// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/rvloginviewcontroller.h"

#include "components/rvprogress.h"
#include "platform/mainthread.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvprotocol.h"
#include "screens/rvnavigationconvention.h"
#include "toolkit/alertview.h"
#include "toolkit/button.h"
#include "toolkit/color.h"
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

void showAlert(const QString &title, const QString &message)
{
    ui::AlertView::initWithTitle(title, message, nullptr, u"确定"_s)->show();
}
} // namespace

RVLoginViewController::RVLoginViewController() = default;

RVLoginViewController::~RVLoginViewController() = default;

void RVLoginViewController::loadView()
{
    ui::ViewController::loadView();
    m_tableView = new ui::TableView(QRectF(0, 10, 320, 100));
    m_tableView->setScrollEnabled(false);
    m_tableView->registerClass<ui::TableViewCell>(reuseIdentifier);
    view()->addSubview(m_tableView);

    m_loginButton = new ui::Button(ui::ButtonType::RoundedRect, QRectF(20, 126, 280, 44));
    m_loginButton->setTitle(u"登录"_s);
    m_loginButton->addTarget([this](ui::Control *sender) { login(sender); },
                             ui::ControlEvent::TouchUpInside);
    view()->addSubview(m_loginButton);

    // Registration is reached through the storyboard alone; offer it where it exists.
    if (storyboard() != nullptr && !storyboard()->destinationOfSegue(registerSegue).isEmpty()) {
        auto *registerButton =
            new ui::Button(ui::ButtonType::RoundedRect, QRectF(20, 182, 280, 44));
        registerButton->setTitle(u"注册新用户"_s);
        registerButton->addTarget(
            [this](ui::Control *sender) { performSegueWithIdentifier(registerSegue, sender); },
            ui::ControlEvent::TouchUpInside);
        view()->addSubview(registerButton);
    }
}

void RVLoginViewController::viewDidLoad()
{
    m_tableView->setDataSource(this);
    m_tableView->setBackgroundView(nullptr);
    const QColor background = ui::Color::colorWithWhite(0.96, 1.0);
    m_tableView->setBackgroundColor(background);
    view()->setBackgroundColor(background);
    m_tableView->reloadData();
}

void RVLoginViewController::viewDidAppear(bool animated)
{
    setNavigationInfo();
    ui::ViewController::viewDidAppear(animated);
}

void RVLoginViewController::setNavigationInfo()
{
    RVNavigationConvention::setNavigationInfo(this);
}

void RVLoginViewController::gotMainPage()
{
    RVNavigationConvention::gotMainPage(this);
}

ui::TableViewCell *RVLoginViewController::cellForRowAtIndexPath(ui::TableView *tableView,
                                                                const ui::IndexPath &indexPath)
{
    ui::TableViewCell *cell =
        tableView->dequeueReusableCellWithIdentifier(reuseIdentifier, indexPath);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    auto *field = new ui::TextField(QRectF(0, 0, 280, 31));
    field->setContentVerticalAlignment(ui::ContentVerticalAlignment::Center);
    field->setReturnKeyType(ui::ReturnKeyType::Done);
    field->setClearButtonMode(ui::TextFieldViewMode::WhileEditing);
    field->setTag(indexPath.row);
    field->setBackgroundColor(ui::Color::whiteColor());
    if (indexPath.row == 0) {
        const QString saved = RVBaseInfo::text(RVAppConfigInfo().userInfo().yhm());
        if (!saved.isEmpty()) {
            field->setText(saved);
            _userName = saved;
        } else {
            field->setPlaceholder(u"帐户"_s);
        }
    } else {
        field->setSecureTextEntry(true);
        field->setPlaceholder(u"密码"_s);
    }
    field->addTarget([this](ui::Control *sender) { textFieldDoneEditing(sender); },
                     ui::ControlEvent::EditingDidEndOnExit);
    field->addTarget([this](ui::Control *sender) { textFieldWithText(sender); },
                     ui::ControlEvent::EditingChanged);
    cell->setAccessoryView(field);
    cell->setBackgroundColor(field->backgroundColor());
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
        showAlert(QString(), u"请填写用户名"_s);
        return;
    }
    if (_password.isEmpty()) {
        showAlert(QString(), u"请填写密码"_s);
        return;
    }
    // The worker gets copies of the two texts; the reply comes back to the main thread.
    const QString name = _userName;
    const QString password = _password;
    std::weak_ptr<ui::ViewController> weakSelf = weak_from_this();
    RVProgress::create()->showWhileExecuting(
        [name, password, weakSelf](RVProgress &) {
            const std::optional<RVUserInfo> reply = RVProtocol().login(name, password);
            platform::MainThread::post([weakSelf, reply] {
                if (auto self = std::static_pointer_cast<RVLoginViewController>(weakSelf.lock()))
                    self->finishedLogin(reply);
            });
        },
        shared_from_this(), u"登录中"_s);
}

void RVLoginViewController::finishedLogin(const std::optional<RVUserInfo> &reply)
{
    getUserInfo = reply;
    if (!reply || !reply->state()) {
        showAlert(u"登录失败"_s, reply ? RVBaseInfo::text(reply->errorMsg()) : QString());
        return;
    }
    if (RVBaseInfo::text(reply->yhm()).isEmpty())
        return;
    ui::NavigationController *navigation = navigationController();
    if (navigation == nullptr)
        return;
    RVProgress::tipMessage(u"登录成功"_s, navigation->view());
    navigation->popViewControllerAnimated(true);
}
