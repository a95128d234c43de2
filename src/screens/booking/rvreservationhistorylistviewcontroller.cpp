// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/booking/rvreservationhistorylistviewcontroller.h"

#include "components/rvprogress.h"
#include "models/rvsavedbookings.h"
#include "screens/booking/rvbookingfiles.h"
#include "screens/booking/rvbookingpassviewcontroller.h"
#include "screens/shared/rvalert.h"
#include "screens/shared/rvclearfooter.h"
#include "toolkit/button.h"
#include "toolkit/color.h"
#include "toolkit/font.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/navigationitem.h"
#include "toolkit/storyboard.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"

using namespace Qt::StringLiterals;

namespace
{
const QString reuseIdentifier = u"AppointMentCell"_s;
constexpr qreal offlineLineHeight = 24;

ui::Label *lineLabel(const QRectF &frame, const QString &text, qreal fontSize)
{
    auto *label = new ui::Label(frame);
    label->setText(text);
    label->setFont(ui::Font::systemFontOfSize(fontSize));
    label->setTextAlignment(ui::TextAlignment::Left);
    label->setLineBreakMode(ui::LineBreakMode::TailTruncation);
    label->setNumberOfLines(1);
    return label;
}
} // namespace

RVReservationHistoryListViewController::RVReservationHistoryListViewController() {}

RVReservationHistoryListViewController::~RVReservationHistoryListViewController() = default;

void RVReservationHistoryListViewController::loadView()
{
    ui::ViewController::loadView();
    _mainTableView = new ui::TableView(view()->bounds());
    view()->addSubview(_mainTableView);
}

void RVReservationHistoryListViewController::viewDidLoad()
{
    _mainTableView->setDataSource(this);
    _mainTableView->setDelegate(this);
    _mainTableView->setBackgroundView(nullptr);
    const QColor background = ui::Color::colorWithWhite(0.96, 1.0);
    view()->setBackgroundColor(background);
    _mainTableView->setBackgroundColor(background);
    _mainTableView->setSeparatorStyle(ui::TableViewCellSeparatorStyle::SingleLine);
    // Over the table, shown only when a load found no booking: a blank screen says nothing.
    m_emptyNotice = new ui::Label(QRectF(0, 40, 320, 30));
    m_emptyNotice->setText(tr("暂无预约记录"));
    m_emptyNotice->setTextAlignment(ui::TextAlignment::Center);
    m_emptyNotice->setTextColor(ui::Color::darkGrayColor());
    m_emptyNotice->setUserInteractionEnabled(false);
    m_emptyNotice->setHidden(true);
    view()->addSubview(m_emptyNotice);
    m_offlineLine = new ui::Label(QRectF(0, 0, 320, offlineLineHeight));
    m_offlineLine->setTextAlignment(ui::TextAlignment::Center);
    m_offlineLine->setFont(ui::Font::systemFontOfSize(13));
    m_offlineLine->setTextColor(ui::Color::whiteColor());
    m_offlineLine->setBackgroundColor(ui::Color::colorWithWhite(0.45, 1.0));
    m_offlineLine->setHidden(true);
    view()->addSubview(m_offlineLine);
}

void RVReservationHistoryListViewController::viewDidAppear(bool animated)
{
    const RVUserStore user = RVUserStore::remembered();
    // What the device kept shows as soon as it is read; the service's list replaces it when it
    // comes.
    m_awaitingList = true;
    RVProgress::fetch(
        this, [user] { return RVBookingHistory::stored(user); },
        [](RVReservationHistoryListViewController &self, const HistoryOutcome &kept) {
            self.showKept(kept);
        });
    // The overlay stays until the service's list is in: a swipe on a row the list is about to
    // replace would be undone by it.
    RVProgress::run(
        this, tr("加载中"), [user] { return RVBookingHistory::refresh(user); },
        [](RVReservationHistoryListViewController &self, const HistoryOutcome &outcome) {
            self.finishedLoadData(outcome);
        });
    RVScreen::viewDidAppear(animated);
    navigationItem()->setTitle(tr("预约纪录"));
}

void RVReservationHistoryListViewController::showKept(const HistoryOutcome &kept)
{
    // The service's list, once in, is not replaced by an older one.
    if (!m_awaitingList || !m_history.bookings().isEmpty() || kept.bookings.isEmpty())
        return;
    m_history = RVBookingHistory(kept.bookings);
    if (_mainTableView)
        _mainTableView->reloadData();
}

void RVReservationHistoryListViewController::finishedLoadData(const HistoryOutcome &outcome)
{
    m_awaitingList = false;
    _httpStats = outcome.httpStats;
    _httpErrorMessage = outcome.httpErrorMessage;
    if (outcome.usable()) {
        m_history = RVBookingHistory(outcome);
        showOffline(m_history.offline() ? outcome.refreshed : std::nullopt);
        if (_mainTableView)
            _mainTableView->reloadData();
        showEmptyNotice();
        return;
    }
    // Alert and leave only while still shown: the user may have gone back meanwhile.
    alertIfOnTop(_httpErrorMessage);
    popIfOnTop();
}

void RVReservationHistoryListViewController::showEmptyNotice()
{
    if (m_emptyNotice)
        m_emptyNotice->setHidden(!m_history.bookings().isEmpty());
}

void RVReservationHistoryListViewController::showOffline(const std::optional<QDateTime> &refreshed)
{
    const bool offline = refreshed.has_value();
    if (offline && _mainTableView)
        _mainTableView->setEditing(false, false);
    if (m_offlineLine) {
        m_offlineLine->setText(
            offline ? tr("离线：最后更新 %1").arg(refreshed->toString(u"yyyy-MM-dd HH:mm"_s))
                    : QString());
        m_offlineLine->setHidden(!offline);
    }
    if (_mainTableView) {
        const qreal top = offline ? offlineLineHeight : 0;
        _mainTableView->setFrame(
            QRectF(0, top, view()->bounds().width(), view()->bounds().height() - top));
    }
}

int RVReservationHistoryListViewController::numberOfRowsInSection(ui::TableView *, int)
{
    return int(m_history.bookings().size());
}

ui::TableViewCell *
RVReservationHistoryListViewController::cellForRowAtIndexPath(ui::TableView *tableView,
                                                              const ui::IndexPath &indexPath)
{
    ui::TableViewCell *cell = tableView->dequeueReusableCellWithIdentifier(reuseIdentifier);
    if (cell == nullptr)
        cell = new ui::TableViewCell(ui::TableViewCellStyle::Default, reuseIdentifier);
    // Always filled afresh: after a cancel the rows below move up, so a cell's old tag no
    // longer says which booking it shows.
    cell->setTag(indexPath.row + 1);
    fillCell(cell, m_history.bookings().value(indexPath.row));
    return cell;
}

void RVReservationHistoryListViewController::fillCell(ui::TableViewCell *cell,
                                                      const RVReservationInfo &booking)
{
    ui::View *content = cell->contentView();
    for (ui::View *subview : content->subviews()) {
        if (subview != cell->textLabel() && subview != cell->detailTextLabel() &&
            qobject_cast<ui::Label *>(subview) != nullptr)
            subview->removeFromSuperview();
    }
    const std::pair<QString, QJsonValue> lines[] = {
        {tr("预约医院  :"), booking.yymc()}, {tr("预约科室  :"), booking.bzksmc()},
        {tr("预约医生  :"), booking.ysmc()}, {tr("预约时间  :"), booking.yysj()},
        {tr("分诊序号  :"), booking.fzxh()},
    };
    for (int i = 0; i < 5; ++i) {
        // The time and the slot number leave room on their right for the booking's buttons.
        const qreal width = i < 3 ? 190 : 130;
        content->addSubview(lineLabel(QRectF(20, 3 + 15 * i, 60, 12), lines[i].first, 12));
        content->addSubview(
            lineLabel(QRectF(90, 2 + 15 * i, width, 12), RVBaseInfo::text(lines[i].second), 12));
    }
    if (booking.isOpen()) {
        // Offline nothing can be cancelled, so nothing invites the swipe.
        if (!m_history.offline()) {
            ui::Label *hint =
                lineLabel(QRectF(20, 78, 270, 17), tr("提示:右移本信息可取消预约"), 14);
            hint->setTextColor(ui::Color::colorWithRed(255, 0, 0, 100));
            content->addSubview(hint);
        }
        addBookingButtons(content, RVBaseInfo::text(booking.yylsh()));
    } else {
        // Without it a cancelled booking looks like an open one whose hint went missing. The
        // service knows one state besides open.
        ui::Label *state = lineLabel(QRectF(20, 78, 270, 17), tr("已取消"), 14);
        state->setTextColor(ui::Color::colorWithWhite(0.2, 1.0));
        content->addSubview(state);
    }
    cell->setBackgroundColor(ui::Color::lightGrayColor());
}

void RVReservationHistoryListViewController::addBookingButtons(ui::View *content,
                                                               const QString &yylsh)
{
    for (ui::View *subview : content->subviews()) {
        if (qobject_cast<ui::Button *>(subview) != nullptr)
            subview->removeFromSuperview();
    }
    const std::pair<QString, void (RVReservationHistoryListViewController::*)(const QString &)>
        actions[] = {{tr("添加到日历"), &RVReservationHistoryListViewController::addToCalendar},
                     {tr("凭证"), &RVReservationHistoryListViewController::openPass}};
    qreal y = 46;
    for (const auto &[title, action] : actions) {
        auto *button = new ui::Button(ui::ButtonType::Custom, QRectF(224, y, 88, 22));
        button->setBackgroundImage(ui::Image::imageNamed(u"image_view_right_select.png"_s));
        button->setTitle(title);
        button->titleLabel()->setFont(ui::Font::systemFontOfSize(12));
        button->addTarget([this, action, yylsh](ui::Control *) { (this->*action)(yylsh); },
                          ui::ControlEvent::TouchUpInside);
        content->addSubview(button);
        y += 27;
    }
}

std::optional<RVReservationInfo>
RVReservationHistoryListViewController::bookingOf(const QString &yylsh) const
{
    for (const RVReservationInfo &booking : m_history.bookings()) {
        if (RVBaseInfo::text(booking.yylsh()) == yylsh)
            return booking;
    }
    return std::nullopt;
}

void RVReservationHistoryListViewController::addToCalendar(const QString &yylsh)
{
    const auto booking = bookingOf(yylsh);
    if (!booking)
        return;
    // The hospital's address and telephone come from the service while it answers.
    RVProgress::run(
        this, tr("加载中"),
        [user = RVUserStore::remembered(), booking = *booking, online = !m_history.offline()] {
            return RVSavedBookings::entryOf(user, booking, online);
        },
        [](RVReservationHistoryListViewController &self, const RVBookingCalendar::Entry &entry) {
            if (self.isOnTop())
                RVBookingFiles::saveCalendar(self.navigationController()->view(), entry);
        });
}

void RVReservationHistoryListViewController::openPass(const QString &yylsh)
{
    const auto booking = bookingOf(yylsh);
    ui::NavigationController *navigation = navigationController();
    if (!booking || navigation == nullptr)
        return;
    if (auto pass = RVBookingPassViewController::instantiateFor(*booking))
        navigation->pushViewController(pass, true);
}

bool RVReservationHistoryListViewController::canEditRowAtIndexPath(ui::TableView *,
                                                                   const ui::IndexPath &indexPath)
{
    return m_history.canCancel(indexPath.row);
}

void RVReservationHistoryListViewController::commitEditingStyle(ui::TableView *,
                                                                ui::TableViewCellEditingStyle style,
                                                                const ui::IndexPath &indexPath)
{
    if (style != ui::TableViewCellEditingStyle::Delete || !m_history.canCancel(indexPath.row))
        return;
    const QString yylsh = RVBaseInfo::text(m_history.bookings().at(indexPath.row).yylsh());
    // On a worker behind the overlay: the window stays responsive for up to the time-out.
    RVProgress::run(
        this, QString(),
        [user = RVUserStore::remembered(), yylsh] { return RVBookingHistory::cancel(user, yylsh); },
        [](RVReservationHistoryListViewController &self, const CancelOutcome &outcome) {
            self.finishedCancel(outcome);
        });
}

void RVReservationHistoryListViewController::finishedCancel(const CancelOutcome &outcome)
{
    if (outcome.ok) {
        // The row of that booking, wherever it is now.
        const std::optional<int> row = m_history.remove(outcome.yylsh);
        if (row && _mainTableView)
            _mainTableView->deleteRowsAtIndexPaths({ui::IndexPath{0, *row}},
                                                   ui::TableViewRowAnimation::Automatic);
        showEmptyNotice();
    } else {
        alertIfOnTop(outcome.message);
    }
    if (_mainTableView)
        _mainTableView->setEditing(false, true);
}

ui::View *RVReservationHistoryListViewController::viewForFooterInSection(ui::TableView *, int)
{
    return RVClearFooter::make();
}
