// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvuserinfo.h"
#include "screens/shared/rvscreen.h"
#include "toolkit/button.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewdatasource.h"

#include <QPointer>
#include <QString>

namespace ui
{
class NavigationController;
}

// The password change screen: old password, new password and its confirmation, checked in a
// fixed order, silent when the new password is the old one, then sent behind the overlay.
// After a successful change the password kept for the automatic login is replaced too, when
// the saved user is the one who changed it, so that the next start still logs in by itself.
class RVModifyPasswdController : public RVScreen, public ui::TableViewDataSource
{
    Q_OBJECT

public:
    // What the password exchange came back with, and for whom.
    struct Outcome {
        bool result = false;
        QString message; // the client's lastErrorMsg
        QString yhid;
        QString newPassword;
    };

    RVModifyPasswdController();
    ~RVModifyPasswdController() override;

    void loadView() override;
    void viewDidLoad() override;

    int numberOfSectionsInTableView(ui::TableView *) override { return 1; }
    int numberOfRowsInSection(ui::TableView *, int) override { return 3; }
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *tableView,
                                             const ui::IndexPath &indexPath) override;

    // Copies a row's whole text into the field its tag names; other tags are ignored.
    void textFieldWithText(int tag, const QString &text);
    void registerButtonClick(ui::Control *sender);

    // Main-thread side: records the outcome and keeps a changed password for the automatic
    // login; confirms and pops, or shows the failure, only while the screen is on top.
    void showModifyInfo(const Outcome &outcome);

    ui::TableView *tableView() const { return m_tableView; }
    ui::Button *submitButton() const { return m_submitButton; }

private:
    bool getResult = false;
    QString errorMessage;
    QString *fieldForTag(int tag);

    RVUserInfo _userInfo;
    QString _yymm;
    QString _mm;
    QString _secPassword;
    QPointer<ui::TableView> m_tableView;
    QPointer<ui::Button> m_submitButton;
    // Where a change that lands after the user went back is told.
    QPointer<ui::NavigationController> m_navigation;
};
