// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvaccount.h"
#include "models/rvaccountchecks.h"
#include "screens/shared/rvscreen.h"
#include "toolkit/button.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewdatasource.h"

#include <QJsonObject>
#include <QPointer>
#include <QString>

// The registration screen, reached from the login screen: seven fields, checked on the device
// in a fixed order (RVAccountChecks), then the registration exchange. The service client
// records a successful registration as the logged-in user, so the screen only returns to the
// home screen, which greets the new user. The exchange runs on a worker behind the overlay so
// that a slow service never freezes the window; after a refusal every field keeps what was
// typed.
class RVRegisterViewController : public RVScreen, public ui::TableViewDataSource
{
    Q_OBJECT

public:
    RVRegisterViewController();
    ~RVRegisterViewController() override;

    void loadView() override;
    void viewDidLoad() override;

    int numberOfSectionsInTableView(ui::TableView *) override { return 1; }
    int numberOfRowsInSection(ui::TableView *, int) override { return 7; }
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *tableView,
                                             const ui::IndexPath &indexPath) override;

    // Copies a row's whole text into the field its tag names; other tags are ignored.
    void textFieldWithText(int tag, const QString &text);
    void registerButtonClick(ui::Control *sender);
    // The mobile number's whole-number test (RVAccountChecks::isPureInt).
    static bool isPureInt(const QString &string);

    // Main-thread side: alert on refusal, back to the home screen on success; nothing when
    // the user has left the screen meanwhile (the registration itself still counts).
    void finishedRegister(const RVAccount::Outcome &outcome);

    ui::TableView *tableView() const { return m_tableView; }
    ui::Button *registerButton() const { return m_registerButton; }

private:
    QString *fieldForTag(int tag);
    RVAccountChecks::Registration form() const;

    QString _username;
    QString _password;
    QString _secPassword;
    QString _name;
    QString _idcard;
    QString _phone;
    QString _address;
    QPointer<ui::TableView> m_tableView;
    QPointer<ui::Button> m_registerButton;
};
