// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/account/rvmodifypasswdcontroller.h"

#include "components/rvprogress.h"
#include "models/rvaccount.h"
#include "models/rvaccountchecks.h"
#include "protocols/rvappconfiginfo.h"
#include "screens/account/rvaccountform.h"
#include "screens/shared/rvalert.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/tableviewcell.h"
#include "toolkit/textfield.h"

#include <array>

using namespace Qt::StringLiterals;

namespace
{
const QString reuseIdentifier = u"ResueModifyPasswd"_s;
constexpr int kLastRow = 2;
constexpr qreal kFieldWidth = 205;
constexpr qreal kButtonAboveContentEnd = 10;
constexpr qreal kButtonSpace = 30;

struct Row {
    const char *caption;
    const char *placeholder;
};
const std::array<Row, 3> rows{Row{QT_TRANSLATE_NOOP("RVModifyPasswdController", "输入旧密码:"),
                                  QT_TRANSLATE_NOOP("RVModifyPasswdController", "请输入旧密码")},
                              Row{QT_TRANSLATE_NOOP("RVModifyPasswdController", "输入新密码:"),
                                  QT_TRANSLATE_NOOP("RVModifyPasswdController", "请输入新密码")},
                              Row{QT_TRANSLATE_NOOP("RVModifyPasswdController", "确认新密码:"),
                                  QT_TRANSLATE_NOOP("RVModifyPasswdController", "请确认新密码")}};
} // namespace

RVModifyPasswdController::RVModifyPasswdController()
{
    setTitle(tr("修改密码"));
}

RVModifyPasswdController::~RVModifyPasswdController() = default;

void RVModifyPasswdController::loadView()
{
    ui::ViewController::loadView();
    m_tableView = RVAccountForm::addFormTable(view(), reuseIdentifier, kButtonSpace);
}

void RVModifyPasswdController::viewDidLoad()
{
    m_tableView->setDataSource(this);
    m_tableView->setScrollEnabled(false);
    RVAccountForm::applyFormBackground(view(), m_tableView);
    _userInfo = RVAppConfigInfo().userInfo();
    m_tableView->reloadData();
}

ui::TableViewCell *RVModifyPasswdController::cellForRowAtIndexPath(ui::TableView *tableView,
                                                                   const ui::IndexPath &indexPath)
{
    ui::TableViewCell *cell =
        tableView->dequeueReusableCellWithIdentifier(reuseIdentifier, indexPath);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    const int row = indexPath.row;
    ui::TextField *field = RVAccountForm::addCaptionedField(
        cell, row, tr(rows.at(size_t(row)).caption), kFieldWidth,
        [this](int tag, const QString &text) { textFieldWithText(tag, text); });
    field->setSecureTextEntry(true);
    field->setPlaceholder(tr(rows.at(size_t(row)).placeholder));
    if (const QString *value = fieldForTag(row))
        field->setText(*value);
    if (row == kLastRow) {
        if (ui::Button *made = RVAccountForm::placeSubmitButton(
                tableView, m_submitButton, tr("更 改"), kButtonAboveContentEnd))
            made->addTarget([this](ui::Control *sender) { registerButtonClick(sender); },
                            ui::ControlEvent::TouchUpInside);
        RVAccountForm::submitFromLastField(field, m_submitButton);
    }
    return cell;
}

QString *RVModifyPasswdController::fieldForTag(int tag)
{
    const std::array<QString *, 3> fields{&_yymm, &_mm, &_secPassword};
    return tag >= 0 && tag < int(fields.size()) ? fields.at(size_t(tag)) : nullptr;
}

void RVModifyPasswdController::textFieldWithText(int tag, const QString &text)
{
    if (QString *target = fieldForTag(tag))
        *target = text;
}

void RVModifyPasswdController::registerButtonClick(ui::Control *)
{
    const RVAccountChecks::PasswordChange typed{_yymm, _mm, _secPassword};
    const QString problem = RVAccountChecks::passwordProblem(typed);
    if (!problem.isNull()) {
        RVAlert::show(problem);
        return;
    }
    if (RVAccountChecks::passwordUnchanged(typed))
        return;
    m_navigation = navigationController();
    RVProgress::run(
        this, tr("加载中"),
        [yhid = RVBaseInfo::text(_userInfo.yhid()), oldPassword = _yymm, newPassword = _mm] {
            const RVAccount::Outcome changed =
                RVAccount::changePassword(yhid, oldPassword, newPassword);
            return Outcome{changed.ok, changed.message, yhid, newPassword};
        },
        [](RVModifyPasswdController &self, const Outcome &outcome) {
            self.showModifyInfo(outcome);
        });
}

void RVModifyPasswdController::showModifyInfo(const Outcome &outcome)
{
    getResult = outcome.result;
    errorMessage = outcome.message;
    if (getResult) {
        // Kept even when the user has left the screen meanwhile: the change has happened.
        RVAccount::keepNewPassword(outcome.yhid, outcome.newPassword);
        RVAccountForm::confirmDone(this, m_navigation, tr("密码修改成功"));
        return;
    }
    alertIfOnTop(errorMessage);
}
