// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/account/rvregisterviewcontroller.h"

#include "components/rvprogress.h"
#include "screens/account/rvaccountform.h"
#include "screens/shared/rvalert.h"
#include "screens/shared/rvformtextfield.h"
#include "toolkit/tableviewcell.h"

#include <array>

using namespace Qt::StringLiterals;

namespace
{
const QString reuseIdentifier = u"ReuseRegTabCell"_s;
constexpr int kLastRow = 6;
constexpr qreal kButtonAboveContentEnd = 20;
constexpr qreal kButtonSpace = 40;

const std::array<const char *, 7> placeholders{
    QT_TRANSLATE_NOOP("RVRegisterViewController", "您的登陆帐户名(手机号)"),
    QT_TRANSLATE_NOOP("RVRegisterViewController", "您的密码(长度需大于6位)"),
    QT_TRANSLATE_NOOP("RVRegisterViewController", "确认密码"),
    QT_TRANSLATE_NOOP("RVRegisterViewController", "您的真实姓名"),
    QT_TRANSLATE_NOOP("RVRegisterViewController", "您的身份证号"),
    QT_TRANSLATE_NOOP("RVRegisterViewController", "您的手机号码"),
    QT_TRANSLATE_NOOP("RVRegisterViewController", "您的家庭住址")};
} // namespace

RVRegisterViewController::RVRegisterViewController()
{
    setTitle(tr("注册"));
}

RVRegisterViewController::~RVRegisterViewController() = default;

void RVRegisterViewController::loadView()
{
    ui::ViewController::loadView();
    m_tableView = RVAccountForm::addFormTable(view(), reuseIdentifier, kButtonSpace);
}

void RVRegisterViewController::viewDidLoad()
{
    m_tableView->setDataSource(this);
    m_tableView->setScrollEnabled(false);
    RVAccountForm::applyFormBackground(view(), m_tableView);
    m_tableView->reloadData();
}

ui::TableViewCell *RVRegisterViewController::cellForRowAtIndexPath(ui::TableView *tableView,
                                                                   const ui::IndexPath &indexPath)
{
    ui::TableViewCell *cell =
        tableView->dequeueReusableCellWithIdentifier(reuseIdentifier, indexPath);
    cell->setAccessoryType(ui::TableViewCellAccessoryType::None);
    const int row = indexPath.row;
    const QString *value = fieldForTag(row);
    // The row shows what was typed so far, so that a row built again keeps it.
    ui::TextField *field = RVFormTextField::install(
        cell,
        {row, tr(placeholders.at(size_t(row))), value ? *value : QString(), row == 1 || row == 2},
        [this](int tag, const QString &text) { textFieldWithText(tag, text); });
    if (row == kLastRow) {
        if (ui::Button *made = RVAccountForm::placeSubmitButton(tableView, m_registerButton,
                                                                tr("注册"), kButtonAboveContentEnd))
            made->addTarget([this](ui::Control *sender) { registerButtonClick(sender); },
                            ui::ControlEvent::TouchUpInside);
        RVAccountForm::submitFromLastField(field, m_registerButton);
    }
    return cell;
}

QString *RVRegisterViewController::fieldForTag(int tag)
{
    const std::array<QString *, 7> fields{&_username, &_password, &_secPassword, &_name,
                                          &_idcard,   &_phone,    &_address};
    return tag >= 0 && tag < int(fields.size()) ? fields.at(size_t(tag)) : nullptr;
}

void RVRegisterViewController::textFieldWithText(int tag, const QString &text)
{
    if (QString *target = fieldForTag(tag))
        *target = text;
}

bool RVRegisterViewController::isPureInt(const QString &string)
{
    return RVAccountChecks::isPureInt(string);
}

RVAccountChecks::Registration RVRegisterViewController::form() const
{
    return {_username, _password, _secPassword, _name, _idcard, _phone, _address};
}

void RVRegisterViewController::registerButtonClick(ui::Control *)
{
    const QString problem = RVAccountChecks::registrationProblem(form());
    if (!problem.isNull()) {
        RVAlert::show(problem);
        return;
    }
    RVProgress::run(
        this, tr("注册中"),
        [body = RVAccountChecks::registrationRecord(form()).body_dict()] {
            return RVAccount::registerUser(body);
        },
        [](RVRegisterViewController &self, const RVAccount::Outcome &outcome) {
            self.finishedRegister(outcome);
        });
}

void RVRegisterViewController::finishedRegister(const RVAccount::Outcome &outcome)
{
    if (!outcome.ok) {
        alertIfOnTop(outcome.message);
        return;
    }
    if (isOnTop())
        gotMainPage();
}
