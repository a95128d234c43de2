// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvuserinfo.h"
#include "screens/account/rvlargetextsetting.h"
#include "screens/shared/rvscreen.h"
#include "toolkit/button.h"
#include "toolkit/label.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewdatasource.h"
#include "toolkit/tableviewdelegate.h"

#include <QPointer>

class RVMarkupLabel;

// The logged-in user's account page: a card with the saved name and mobile number drawn from
// markup, the entries to the profile and password screens, to the booking history and to the
// watches on fully booked half-days, and the logout. The card is read afresh from the saved user
// record whenever its row is built; the screen keeps no copy of the user.
class RVPersonalViewController : public RVScreen,
                                 public ui::TableViewDataSource,
                                 public ui::TableViewDelegate
{
    Q_OBJECT

public:
    RVPersonalViewController();
    ~RVPersonalViewController() override;

    void loadView() override;
    void viewDidLoad() override;

    int numberOfSectionsInTableView(ui::TableView *) override { return 1; }
    int numberOfRowsInSection(ui::TableView *tableView, int section) override;
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *tableView,
                                             const ui::IndexPath &indexPath) override;
    qreal heightForRowAtIndexPath(ui::TableView *tableView,
                                  const ui::IndexPath &indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView *tableView, const ui::IndexPath &indexPath) override;
    void exitLoginButtonClick(ui::Control *sender);

    // The card's markup (RVPersonalCard) for the label's base font and width: the name is
    // measured at each size the card tries, and shortened at the end past the smallest.
    static QString cardMarkup(const RVUserInfo &user, const QFont &font, qreal width);

    // The three tables, top to bottom, for reading.
    ui::TableView *infoTable() const { return infoTableView; }
    ui::TableView *settingTable() const { return settingTableView; }
    ui::TableView *otherTable() const { return otherTableView; }
    ui::Button *exitLoginButton() const { return m_exitLoginButton; }
    // The line saying the password is kept in a file; none where a keyring keeps it.
    ui::Label *passwordInFileLabel() const { return m_passwordInFileLabel; }
    // The card's label, once its row is built.
    RVMarkupLabel *cardLabel() const;

private:
    void buildCard(ui::TableViewCell *cell);
    void pushScreen(const QString &identifier);

    QPointer<ui::TableView> infoTableView;
    QPointer<ui::TableView> settingTableView;
    QPointer<ui::TableView> otherTableView;
    QPointer<ui::Button> m_exitLoginButton;
    QPointer<ui::Label> m_passwordInFileLabel;
    RVLargeTextSetting m_largeText;
};
