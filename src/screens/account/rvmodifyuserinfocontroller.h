// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvaccountchecks.h"
#include "protocols/rvuserinfo.h"
#include "screens/shared/rvscreen.h"
#include "toolkit/button.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewdatasource.h"

#include <QPointer>
#include <QString>

#include <optional>

namespace ui
{
class NavigationController;
}

// The profile editing screen: full name, identity number, mobile number and address, starting
// from the saved user record. "提 交" checks them, stays silent when nothing changed, and sends
// the profile change behind the overlay. The saved record is deliberately left as it was: the
// personal centre shows the new values after the next login.
class RVModifyUserInfoController : public RVScreen, public ui::TableViewDataSource
{
    Q_OBJECT

public:
    // What the profile exchange came back with.
    struct Outcome {
        std::optional<RVUserInfo> reply;
        QString message; // the client's lastErrorMsg
    };

    RVModifyUserInfoController();
    ~RVModifyUserInfoController() override;

    void loadView() override;
    void viewDidLoad() override;

    int numberOfSectionsInTableView(ui::TableView *) override { return 1; }
    int numberOfRowsInSection(ui::TableView *, int) override { return 4; }
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *tableView,
                                             const ui::IndexPath &indexPath) override;

    // Copies a row's whole text into the field its tag names; other tags are ignored.
    void textFieldWithText(int tag, const QString &text);
    void registerButtonClick(ui::Control *sender);

    // Worker side: sends the change and reads the outcome.
    static Outcome modifyUserInfo(const RVUserInfo &info);
    // Main-thread side: records the outcome; confirms and pops, or shows the failure, only
    // while the screen is on top.
    void showModifyInfo(const Outcome &outcome);

    ui::TableView *tableView() const { return m_tableView; }
    ui::Button *submitButton() const { return m_submitButton; }

private:
    std::optional<RVUserInfo> getUserInfo;
    QString errorMessage;
    QString *editedFieldForTag(int tag);
    RVAccountChecks::Profile edited() const;

    RVUserInfo _userInfo;
    QString _realName;
    QString _name;
    QString _idcard;
    QString _phone;
    QString _address;
    QPointer<ui::TableView> m_tableView;
    QPointer<ui::Button> m_submitButton;
    // Where a change that lands after the user went back is told.
    QPointer<ui::NavigationController> m_navigation;
};
