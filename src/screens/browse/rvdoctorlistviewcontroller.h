// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "components/pvxrefreshtableheaderdelegate.h"
#include "components/pvxrefreshtableheaderview.h"
#include "models/rvdoctorlistpages.h"
#include "screens/shared/rvscreen.h"
#include "toolkit/image.h"
#include "toolkit/searchbar.h"
#include "toolkit/searchbardelegate.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewdatasource.h"
#include "toolkit/tableviewdelegate.h"

#include <QPointer>

namespace ui
{
class TableViewCell;
}

// Doctors eight to a page, with photo, name, title, hospital and speciality; dragging the
// list up past its end loads the next page through the load-more header below the last row,
// and a tap opens the doctor's detail screen with a snapshot of the row. Opened from a
// department it lists that department's doctors; opened with nothing handed over it lists
// all doctors and offers a search by the initials of the name. Its pages (RVDoctorListPages)
// hold the doctors loaded so far and the paging rules; the screen shows them. Workers only
// fetch: every page and search result comes back to the main thread, which alone changes the
// pages and the header.
class RVDoctorListViewController : public RVScreen,
                                   public ui::TableViewDataSource,
                                   public ui::TableViewDelegate,
                                   public ui::SearchBarDelegate,
                                   public PvxRefreshTableHeaderDelegate
{
    Q_OBJECT

public:
    RVDoctorListViewController();
    ~RVDoctorListViewController() override;

    // The doctors of one department, made from the storyboard; all null lists every doctor
    // and offers the search.
    static std::shared_ptr<RVDoctorListViewController>
    instantiateFor(const QString &hospitalCode, const QString &deptid,
                   const QString &departmentCode);

    void viewDidLoad() override;

    // Paging.
    void requestNextPage(bool withOverlay);
    void requestNextPageFinish(const RVDoctorListPages::Page &page);
    void refreshDoctorViewList();
    void doneLoadingTableViewData();
    void reloadTableViewDataSource();

    void scrollViewDidScroll(ui::ScrollView *scrollView) override;
    void scrollViewDidEndDragging(ui::ScrollView *scrollView, bool willDecelerate) override;
    void pvxRefreshTableHeaderDidTriggerRefresh(PvxRefreshTableHeaderView *view) override;
    bool pvxRefreshTableHeaderDataSourceIsLoading(PvxRefreshTableHeaderView *view) override;
    std::optional<QDateTime>
    pvxRefreshTableHeaderDataSourceLastUpdated(PvxRefreshTableHeaderView *view) override;

    // Search.
    bool searchBarShouldBeginEditing(ui::SearchBar *) override { return !reloading; }
    bool searchBarShouldEndEditing(ui::SearchBar *) override { return true; }
    void searchBarTextDidEndEditing(ui::SearchBar *searchBar) override;
    void searchBarSearchButtonClicked(ui::SearchBar *searchBar) override;
    void searchDoctorFinish(const RVDoctorListPages::Page &page);

    // Table.
    int numberOfSectionsInTableView(ui::TableView *) override { return 1; }
    int numberOfRowsInSection(ui::TableView *, int) override
    {
        return int(m_pages.doctorList().size());
    }
    qreal heightForRowAtIndexPath(ui::TableView *, const ui::IndexPath &) override
    {
        return cellHeight;
    }
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *tableView,
                                             const ui::IndexPath &indexPath) override;
    std::optional<ui::IndexPath> willSelectRowAtIndexPath(ui::TableView *,
                                                          const ui::IndexPath &indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView *tableView, const ui::IndexPath &indexPath) override;
    ui::View *viewForFooterInSection(ui::TableView *, int) override;

    // The row as it looks now, photo or placeholder, as a picture; null when it is not shown.
    ui::Image snapshotOfRow(int row) const;
    const RVDoctorListPages &pages() const { return m_pages; }

    ui::TableView *tableView() const { return m_tableView; }
    ui::SearchBar *searchBar() const { return m_searchBar; }
    PvxRefreshTableHeaderView *refreshHeaderView() const { return m_refreshHeaderView; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillCell(ui::TableViewCell *cell, const RVDoctorInfo &doctor) const;
    void openDoctor(int row);

    qint32 cellHeight = 95;
    bool reloading = false;
    // Handed over; null while absent.
    QString hospitalCode;
    QString deptid;
    QString departmentCode;

    QPointer<ui::TableView> m_tableView;
    QPointer<ui::SearchBar> m_searchBar;
    QPointer<PvxRefreshTableHeaderView> m_refreshHeaderView;
    RVDoctorListPages m_pages;
    // A finger coming down on the list takes the keyboard away before the list hears of the
    // touch; these carry "the keyboard was up" from that moment to the tap at its end.
    bool m_keyboardLeftForTouch = false;
    bool m_touchBeganWithKeyboard = false;
};
