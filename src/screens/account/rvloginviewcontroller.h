// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvuserinfo.h"
#include "screens/account/rvlargetextsetting.h"
#include "screens/shared/rvscreen.h"
#include "toolkit/button.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewdatasource.h"

#include <QPointer>

#include <optional>

// The login screen: collects a user name (pre-filled from the saved user) and a password,
// runs the login exchange behind the progress overlay and reports the outcome. Recording the
// login belongs to the service client; on success the screen shows a tip over the navigation
// container and pops itself.
class RVLoginViewController : public RVScreen, public ui::TableViewDataSource
{
    Q_OBJECT

public:
    RVLoginViewController();
    ~RVLoginViewController() override;

    void loadView() override;
    void viewDidLoad() override;

    int numberOfSectionsInTableView(ui::TableView *) override { return 1; }
    int numberOfRowsInSection(ui::TableView *, int) override { return 2; }
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *tableView,
                                             const ui::IndexPath &indexPath) override;

    void textFieldWithText(ui::Control *sender);
    void textFieldDoneEditing(ui::Control *sender);
    void login(ui::Control *sender);
    void finishedLogin(const std::optional<RVUserInfo> &reply);

    ui::TableView *tableView() const { return m_tableView; }
    ui::Button *loginButton() const { return m_loginButton; }
    QString userName() const { return _userName; }
    QString password() const { return _password; }

private:
    std::optional<RVUserInfo> getUserInfo;
    QString _userName;
    QString _password;
    QPointer<ui::TableView> m_tableView;
    QPointer<ui::Button> m_loginButton;
    RVLargeTextSetting m_largeText;
};
