// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/browse/rvdoctorlistviewcontroller.h"

#include "components/rvprogress.h"
#include "screens/shared/rvalert.h"
#include "toolkit/color.h"

#include <QGuiApplication>

#include <utility>

using namespace Qt::StringLiterals;

namespace
{
constexpr qreal kSearchBarHeight = 44;
constexpr qreal kHeaderHeight = 480;
} // namespace

RVDoctorListViewController::RVDoctorListViewController()
{
    setTitle(tr("医生查询"));
}

RVDoctorListViewController::~RVDoctorListViewController() = default;

std::shared_ptr<RVDoctorListViewController>
RVDoctorListViewController::instantiateFor(const QString &hospitalCode, const QString &deptid,
                                           const QString &departmentCode)
{
    auto next = RVScreen::fromStoryboard<RVDoctorListViewController>(u"doctorList"_s);
    if (next) {
        next->hospitalCode = hospitalCode;
        next->deptid = deptid;
        next->departmentCode = departmentCode;
    }
    return next;
}

void RVDoctorListViewController::viewDidLoad()
{
    view()->setBackgroundColor(ui::Color::colorWithWhite(0.96));
    QRectF frame = view()->bounds();
    m_pages.setFilters({hospitalCode, deptid, departmentCode});
    if (m_pages.offersSearch()) {
        m_searchBar = new ui::SearchBar(QRectF(0, 0, 320, kSearchBarHeight));
        m_searchBar->setPlaceholder(tr("请输入医生姓名的首字母"));
        m_searchBar->setDelegate(this);
        view()->addSubview(m_searchBar);
        frame.setTop(frame.top() + kSearchBarHeight);
    }
    m_tableView = new ui::TableView(frame);
    m_tableView->installEventFilter(this);
    m_tableView->setDataSource(this);
    m_tableView->setDelegate(this);
    m_tableView->setSeparatorStyle(ui::TableViewCellSeparatorStyle::SingleLine);
    view()->addSubview(m_tableView);
    cellHeight = 95;
    if (m_pages.doctorList().isEmpty())
        requestNextPage(true);
}

void RVDoctorListViewController::requestNextPage(bool withOverlay)
{
    const RVDoctorListPages::Request request = m_pages.nextPage();
    auto fetch = [request] { return RVDoctorListPages::fetch(request); };
    auto finish = [](RVDoctorListViewController &self, const RVDoctorListPages::Page &page) {
        self.requestNextPageFinish(page);
    };
    if (withOverlay)
        RVProgress::run(this, tr("加载中"), std::move(fetch), std::move(finish));
    else // later pages load without the overlay; the header shows that a page is coming
        RVProgress::fetch(this, std::move(fetch), std::move(finish));
}

void RVDoctorListViewController::requestNextPageFinish(const RVDoctorListPages::Page &page)
{
    if (!m_pages.takePage(page)) {
        // Asked for a list that a search has replaced since: the search owns the list and
        // the loading flag now; only the header is told its pull is over.
        if (m_refreshHeaderView)
            m_refreshHeaderView->pvxRefreshScrollViewDataSourceDidFinishedLoading(m_tableView);
        return;
    }
    if (m_tableView)
        refreshDoctorViewList();
    else
        reloading = false;
}

void RVDoctorListViewController::refreshDoctorViewList()
{
    const qsizetype count = m_pages.doctorList().size();
    const RVDoctorListPages::Header header = m_pages.header();
    if (header == RVDoctorListPages::Header::Removed) {
        if (m_refreshHeaderView) {
            m_refreshHeaderView->setDelegate(nullptr);
            m_refreshHeaderView->removeFromSuperview();
            m_refreshHeaderView = nullptr;
            // The gap held open for the header goes with it.
            m_tableView->setContentInset(ui::EdgeInsets());
        }
    } else if (header == RVDoctorListPages::Header::BelowRows) {
        const qreal bottom = qreal(cellHeight) * qreal(count);
        m_tableView->setContentSize(QSizeF(320, bottom));
        const QRectF frame(0, bottom, 320, kHeaderHeight);
        if (!m_refreshHeaderView) {
            m_refreshHeaderView = new PvxRefreshTableHeaderView(frame);
            m_refreshHeaderView->setDelegate(this);
            m_tableView->addSubview(m_refreshHeaderView);
        } else {
            m_refreshHeaderView->setFrame(frame);
        }
    }
    m_tableView->reloadData();
    doneLoadingTableViewData();
}

void RVDoctorListViewController::doneLoadingTableViewData()
{
    reloading = false;
    if (m_refreshHeaderView)
        m_refreshHeaderView->pvxRefreshScrollViewDataSourceDidFinishedLoading(m_tableView);
}

void RVDoctorListViewController::reloadTableViewDataSource()
{
    if (m_pages.isLastPage()) {
        // Nothing more to fetch: let the header rest rather than spin for a load that never
        // comes.
        doneLoadingTableViewData();
        return;
    }
    reloading = true;
    requestNextPage(false);
}

void RVDoctorListViewController::scrollViewDidScroll(ui::ScrollView *)
{
    if (m_refreshHeaderView)
        m_refreshHeaderView->pvxRefreshScrollViewDidScroll(m_tableView);
}

void RVDoctorListViewController::scrollViewDidEndDragging(ui::ScrollView *, bool)
{
    if (m_refreshHeaderView)
        m_refreshHeaderView->pvxRefreshScrollViewDidEndDragging(m_tableView);
}

void RVDoctorListViewController::pvxRefreshTableHeaderDidTriggerRefresh(PvxRefreshTableHeaderView *)
{
    reloadTableViewDataSource();
}

bool RVDoctorListViewController::pvxRefreshTableHeaderDataSourceIsLoading(
    PvxRefreshTableHeaderView *)
{
    return reloading;
}

std::optional<QDateTime>
RVDoctorListViewController::pvxRefreshTableHeaderDataSourceLastUpdated(PvxRefreshTableHeaderView *)
{
    return QDateTime::currentDateTime();
}

void RVDoctorListViewController::searchBarTextDidEndEditing(ui::SearchBar *)
{
    if (QGuiApplication::mouseButtons() == Qt::NoButton)
        return;
    // Editing ended because a finger came down somewhere: remember it while that press is
    // being delivered, which is before any queued call runs. A press on the list takes it
    // (eventFilter); a press anywhere else leaves it to the queued call.
    m_keyboardLeftForTouch = true;
    QMetaObject::invokeMethod(
        this, [this] { m_keyboardLeftForTouch = false; }, Qt::QueuedConnection);
}

bool RVDoctorListViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && watched == m_tableView)
        m_touchBeganWithKeyboard = std::exchange(m_keyboardLeftForTouch, false) ||
                                   (m_searchBar && m_searchBar->isFirstResponder());
    return ui::ViewController::eventFilter(watched, event);
}

void RVDoctorListViewController::searchBarSearchButtonClicked(ui::SearchBar *searchBar)
{
    const std::optional<RVDoctorListPages::Request> request = m_pages.search(searchBar->text());
    if (!request)
        return;
    searchBar->resignFirstResponder();
    reloading = true;
    RVProgress::run(
        this, tr("搜索中"), [request = *request] { return RVDoctorListPages::fetch(request); },
        [](RVDoctorListViewController &self, const RVDoctorListPages::Page &page) {
            self.searchDoctorFinish(page);
        });
}

void RVDoctorListViewController::searchDoctorFinish(const RVDoctorListPages::Page &page)
{
    if (!m_pages.takeSearch(page))
        return;
    if (!m_tableView) {
        reloading = false;
        return;
    }
    if (m_pages.doctorList().isEmpty() && isOnTop())
        RVAlert::tip(tr("没有这位医生"), view());
    m_tableView->setDataSource(this);
    m_tableView->setDelegate(this);
    // The load-more header follows the new list at once, as after a page: below its last row
    // while more may follow, gone when the search result is all there is. Left where the old
    // list had it, or gone because the old list had ended, it would keep the search's next
    // page out of reach.
    refreshDoctorViewList();
}
