// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/account/rvmodifyuserinfocontroller.h"

#include "components/rvprogress.h"
#include "protocols/rvappconfiginfo.h"
#include "protocols/rvprotocol.h"
#include "screens/account/rvaccountform.h"
#include "screens/shared/rvalert.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/tableviewcell.h"
#include "toolkit/textfield.h"

#include <array>

using namespace Qt::StringLiterals;

namespace
{
const QString reuseIdentifier = u"ResueModifyUserInfo"_s;
constexpr int kLastRow = 3;
constexpr qreal kFieldWidth = 220;
constexpr qreal kButtonAboveContentEnd = 10;
constexpr qreal kButtonSpace = 30;

const std::array<const char *, 4> captions{
    QT_TRANSLATE_NOOP("RVModifyUserInfoController", "真实姓名:"),
    QT_TRANSLATE_NOOP("RVModifyUserInfoController", "身份证号:"),
    QT_TRANSLATE_NOOP("RVModifyUserInfoController", "手机号码:"),
    QT_TRANSLATE_NOOP("RVModifyUserInfoController", "住       址:")};
} // namespace

RVModifyUserInfoController::RVModifyUserInfoController()
{
    setTitle(tr("修改信息"));
}

RVModifyUserInfoController::~RVModifyUserInfoController() = default;

void RVModifyUserInfoController::loadView()
{
    ui::ViewController::loadView();
    m_tableView = RVAccountForm::addFormTable(view(), reuseIdentifier, kButtonSpace);
}

void RVModifyUserInfoController::viewDidLoad()
{
    m_tableView->setDataSource(this);
    m_tableView->setScrollEnabled(false);
    RVAccountForm::applyFormBackground(view(), m_tableView);

    _userInfo = RVAppConfigInfo().userInfo();
    const RVAccountChecks::Profile saved = RVAccountChecks::savedProfile(_userInfo);
    _realName = saved.name;
    _name = saved.name;
    _idcard = saved.idcard;
    _phone = saved.phone;
    _address = saved.address;
    m_tableView->reloadData();
}

ui::TableViewCell *RVModifyUserInfoController::cellForRowAtIndexPath(ui::TableView *tableView,
                                                                     const ui::IndexPath &indexPath)
{
    ui::TableViewCell *cell =
        tableView->dequeueReusableCellWithIdentifier(reuseIdentifier, indexPath);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    const int row = indexPath.row;
    ui::TextField *field = RVAccountForm::addCaptionedField(
        cell, row, tr(captions.at(size_t(row))), kFieldWidth,
        [this](int tag, const QString &text) { textFieldWithText(tag, text); });
    // The name row shows the name as edited so far, which starts as the saved one, so that a
    // row built again never drops what was typed.
    if (const QString *value = editedFieldForTag(row))
        field->setText(*value);
    if (row == kLastRow) {
        if (ui::Button *made = RVAccountForm::placeSubmitButton(
                tableView, m_submitButton, tr("提 交"), kButtonAboveContentEnd))
            made->addTarget([this](ui::Control *sender) { registerButtonClick(sender); },
                            ui::ControlEvent::TouchUpInside);
        RVAccountForm::submitFromLastField(field, m_submitButton);
    }
    return cell;
}

QString *RVModifyUserInfoController::editedFieldForTag(int tag)
{
    const std::array<QString *, 4> fields{&_name, &_idcard, &_phone, &_address};
    return tag >= 0 && tag < int(fields.size()) ? fields.at(size_t(tag)) : nullptr;
}

void RVModifyUserInfoController::textFieldWithText(int tag, const QString &text)
{
    if (QString *target = editedFieldForTag(tag))
        *target = text;
}

RVAccountChecks::Profile RVModifyUserInfoController::edited() const
{
    return {_name, _idcard, _phone, _address};
}

void RVModifyUserInfoController::registerButtonClick(ui::Control *)
{
    const QString problem = RVAccountChecks::profileProblem(edited());
    if (!problem.isNull()) {
        RVAlert::show(problem);
        return;
    }
    if (RVAccountChecks::profileUnchanged(_userInfo, edited()))
        return;
    m_navigation = navigationController();
    RVProgress::run(
        this, tr("加载中"),
        [info = RVAccountChecks::profileRecord(_userInfo, edited())] {
            return modifyUserInfo(info);
        },
        [](RVModifyUserInfoController &self, const Outcome &outcome) {
            self.showModifyInfo(outcome);
        });
}

RVModifyUserInfoController::Outcome
RVModifyUserInfoController::modifyUserInfo(const RVUserInfo &info)
{
    RVProtocol client;
    std::optional<RVUserInfo> reply = client.userInfoModificationWithNewUserInfo(info);
    return {std::move(reply), client.lastErrorMsg()};
}

void RVModifyUserInfoController::showModifyInfo(const Outcome &outcome)
{
    getUserInfo = outcome.reply;
    errorMessage = outcome.message;
    if (getUserInfo && getUserInfo->state()) {
        RVAccountForm::confirmDone(this, m_navigation, tr("信息修改成功"));
        return;
    }
    // A failure is not shown once the user has gone back: nothing changed.
    alertIfOnTop(errorMessage);
}
