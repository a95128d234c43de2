// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/rvdoctorlistviewcontroller.h"

#include "components/rvprogress.h"
#include "protocols/rvprotocol.h"
#include "screens/rvnavigationconvention.h"
#include "screens/rvscreenguard.h"
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
    setTitle(u"医生查询"_s);
}

RVDoctorListViewController::~RVDoctorListViewController() = default;

void RVDoctorListViewController::viewDidLoad()
{
    view()->setBackgroundColor(ui::Color::colorWithWhite(0.96));
    QRectF frame = view()->bounds();
    if (hospitalCode.isNull() && deptid.isNull() && departmentCode.isNull()) {
        m_searchBar = new ui::SearchBar(QRectF(0, 0, 320, kSearchBarHeight));
        m_searchBar->setPlaceholder(u"请输入医生姓名的首字母"_s);
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
    currentPage = 0;
    if (doctorList.isEmpty())
        requestNextPage(true);
}

void RVDoctorListViewController::viewDidAppear(bool animated)
{
    setNavigationInfo();
    ui::ViewController::viewDidAppear(animated);
}

void RVDoctorListViewController::setNavigationInfo()
{
    RVNavigationConvention::setNavigationInfo(this);
}

void RVDoctorListViewController::gotMainPage()
{
    RVNavigationConvention::gotMainPage(this);
}

RVDoctorListViewController::Query RVDoctorListViewController::currentQuery() const
{
    return {hospitalCode, deptid, departmentCode, doctorName};
}

void RVDoctorListViewController::requestNextPage(bool withOverlay)
{
    const Query query = currentQuery();
    const int page = currentPage + 1;
    const quint64 generation = m_generation;
    auto fetch = [query, page, generation] { return fetchPage(query, page, generation); };
    auto finish = [](RVDoctorListViewController &self, const PageOutcome &outcome) {
        self.requestNextPageFinish(outcome);
    };
    if (withOverlay)
        RVProgress::run(this, u"加载中"_s, std::move(fetch), std::move(finish));
    else // later pages load without the overlay; the header shows that a page is coming
        RVProgress::fetch(this, std::move(fetch), std::move(finish));
}

RVDoctorListViewController::PageOutcome
RVDoctorListViewController::fetchPage(const Query &query, int page, quint64 generation)
{
    RVProtocol client;
    const std::optional<QList<RVDoctorInfo>> doctors = client.doctorList(
        query.hospitalCode, query.deptid, query.departmentCode, query.doctorName, page, kPageSize);
    PageOutcome outcome;
    outcome.page = page;
    outcome.generation = generation;
    outcome.doctors = doctors.value_or(QList<RVDoctorInfo>());
    outcome.HTTPResponseOK = client.HTTPResponseOK();
    return outcome;
}

void RVDoctorListViewController::takePage(const PageOutcome &outcome, bool replace)
{
    const qsizetype count = outcome.doctors.size();
    if (replace)
        doctorList = outcome.doctors;
    else
        doctorList.append(outcome.doctors);
    if (count > 0)
        currentPage = outcome.page;
    // An empty page ends paging only when the exchange itself went through; a failed one
    // leaves the same page to be asked for again.
    if (count == 0)
        isLastPage = outcome.HTTPResponseOK;
    else if (count < kPageSize)
        isLastPage = true;
    else if (replace)
        isLastPage = false;
}

void RVDoctorListViewController::requestNextPageFinish(const PageOutcome &outcome)
{
    if (outcome.generation != m_generation) {
        // Asked for a list that a search has replaced since: the search owns the list and
        // the loading flag now; only the header is told its pull is over.
        if (m_refreshHeaderView)
            m_refreshHeaderView->pvxRefreshScrollViewDataSourceDidFinishedLoading(m_tableView);
        return;
    }
    takePage(outcome, false);
    if (m_tableView)
        refreshDoctorViewList();
    else
        reloading = false;
}

void RVDoctorListViewController::refreshDoctorViewList()
{
    const qsizetype count = doctorList.size();
    if (isLastPage) {
        if (m_refreshHeaderView) {
            m_refreshHeaderView->setDelegate(nullptr);
            m_refreshHeaderView->removeFromSuperview();
            m_refreshHeaderView = nullptr;
            // The gap held open for the header goes with it.
            m_tableView->setContentInset(ui::EdgeInsets());
        }
    } else if (count > 0) {
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
    if (isLastPage) {
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
    const QString text = searchBar->text();
    const bool same =
        text.isNull() ? doctorName.isNull() : (!doctorName.isNull() && text == doctorName);
    if (same)
        return;
    searchBar->resignFirstResponder();
    reloading = true;
    doctorName = text;
    // Pages still on their way belong to the list this search replaces.
    ++m_generation;
    const Query query = currentQuery();
    const quint64 generation = m_generation;
    RVProgress::run(
        this, u"搜索中"_s, [query, generation] { return fetchPage(query, 1, generation); },
        [](RVDoctorListViewController &self, const PageOutcome &outcome) {
            self.searchDoctorFinish(outcome);
        });
}

void RVDoctorListViewController::searchDoctorFinish(const PageOutcome &outcome)
{
    if (outcome.generation != m_generation)
        return;
    takePage(outcome, true);
    if (!m_tableView) {
        reloading = false;
        return;
    }
    if (doctorList.isEmpty() && RVScreenGuard::isOnTop(this))
        RVProgress::tipMessage(u"没有这位医生"_s, view());
    m_tableView->setDataSource(this);
    m_tableView->setDelegate(this);
    // The load-more header follows the new list at once, as after a page: below its last row
    // while more may follow, gone when the search result is all there is. Left where the old
    // list had it, or gone because the old list had ended, it would keep the search's next
    // page out of reach.
    refreshDoctorViewList();
}
