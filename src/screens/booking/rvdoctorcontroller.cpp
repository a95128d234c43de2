// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/booking/rvdoctorcontroller.h"

#include "components/rvprogress.h"
#include "models/rvhalfdayname.h"
#include "models/rvwatches.h"
#include "protocols/rvappconfiginfo.h"
#include "screens/booking/rvreservationtimeelectcontroller.h"
#include "screens/shared/rvalert.h"
#include "toolkit/button.h"
#include "toolkit/color.h"
#include "toolkit/imageview.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/navigationitem.h"
#include "toolkit/storyboard.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace
{
const QString reuseIdentifier = u"ReuseDoctorCell"_s;
constexpr qreal kTopRowHeight = 95;

ui::Label *columnLabel(qreal x, qreal width, qreal height, const QColor &background)
{
    auto *label = new ui::Label(QRectF(x, 0, width, height));
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setBackgroundColor(background);
    return label;
}

QString pictureOf(RVScheduleGrid::State state)
{
    switch (state) {
    case RVScheduleGrid::State::Stopped:
        return u"yuyue_tingzhen_btn_nor.png"_s;
    case RVScheduleGrid::State::FullyBooked:
        return u"yuyue_quick_btn_nor.png"_s;
    case RVScheduleGrid::State::Open:
        break;
    }
    return u"yuyue_full_btn_nor.png"_s;
}
} // namespace

RVDoctorController::RVDoctorController() : m_clock([] { return QDate::currentDate(); }) {}

std::shared_ptr<RVDoctorController>
RVDoctorController::instantiateFor(const RVDoctorInfo &doctor, const ui::Image &doctorInfoCell)
{
    auto next = RVScreen::fromStoryboard<RVDoctorController>(u"doctor"_s);
    if (next) {
        next->_doctorInfo = doctor;
        next->_doctorInfoCell = doctorInfoCell;
    }
    return next;
}

RVDoctorController::~RVDoctorController() = default;

void RVDoctorController::loadView()
{
    ui::ViewController::loadView();
    const QSizeF size = view()->frame().size();
    _tableViewBaseInfo = new ui::TableView(QRectF(0, 0, 320, kTopRowHeight));
    view()->addSubview(_tableViewBaseInfo);
    _tableViewReservInfo = new ui::TableView(
        QRectF(0, kTopRowHeight, 320, std::max(0.0, size.height() - kTopRowHeight)));
    _tableViewReservInfo->registerClass<ui::TableViewCell>(reuseIdentifier);
    view()->addSubview(_tableViewReservInfo);
}

void RVDoctorController::viewDidLoad()
{
    cellHeight = 40;
    _tableViewBaseInfo->setDataSource(this);
    _tableViewBaseInfo->setDelegate(this);
    _tableViewBaseInfo->setScrollEnabled(false);
    _tableViewReservInfo->setDataSource(this);
    _delegate = std::make_unique<TableViewReservDelegate>(cellHeight);
    _tableViewReservInfo->setDelegate(_delegate.get());
    _tableViewReservInfo->setBounces(false);
    m_grid = RVScheduleGrid(today());

    const QString hospid = RVBaseInfo::text(_doctorInfo.hospid());
    const QString ysdm = RVBaseInfo::text(_doctorInfo.ysdm());
    RVProgress::run(
        this, _tableViewReservInfo, QString(),
        [hospid, ysdm] { return RVScheduleGrid::load(hospid, ysdm); },
        [](RVDoctorController &self, const ScheduleOutcome &outcome) {
            self.loadDoctorSchedulesFinish(outcome);
        });
}

void RVDoctorController::viewDidAppear(bool animated)
{
    RVScreen::viewDidAppear(animated);
    if (ui::NavigationController *navigation = navigationController()) {
        if (ui::NavigationItem *top = navigation->navigationBar()->topItem())
            top->setTitle(RVBaseInfo::text(_doctorInfo.ysmc()));
    }
    loadWatched();
}

void RVDoctorController::loadDoctorSchedulesFinish(const ScheduleOutcome &outcome)
{
    _httpStats = outcome.httpStats;
    _httpErrorMessage = outcome.httpErrorMessage;
    if (!outcome.httpStats) {
        // The grid keeps its empty half-days; nothing can be opened. The tip goes over the
        // screen, where it lands on the visible grid: inside the grid it would sit in the
        // scrolling content, below the rows in view. A screen the user left has no view to
        // show it on, and asking for one would load a new view and start another load.
        if (isOnTop())
            RVAlert::tip(_httpErrorMessage, view());
        return;
    }
    m_grid = RVScheduleGrid(today(), outcome.value);
    if (_tableViewReservInfo)
        _tableViewReservInfo->reloadData();
}

int RVDoctorController::numberOfRowsInSection(ui::TableView *tableView, int)
{
    return tableView == _tableViewBaseInfo ? 1 : RVScheduleGrid::kDays;
}

qreal RVDoctorController::heightForRowAtIndexPath(ui::TableView *, const ui::IndexPath &)
{
    return kTopRowHeight;
}

ui::TableViewCell *RVDoctorController::cellForRowAtIndexPath(ui::TableView *tableView,
                                                             const ui::IndexPath &indexPath)
{
    if (tableView == _tableViewReservInfo)
        return gridCell(tableView, indexPath);
    if (tableView != _tableViewBaseInfo)
        return nullptr;
    auto *cell = new ui::TableViewCell(ui::TableViewCellStyle::Default);
    if (_doctorInfoCell.isNull()) {
        // Opened without the list's snapshot: the doctor's name still heads the screen.
        cell->textLabel()->setText(RVBaseInfo::text(_doctorInfo.ysmc()));
    } else {
        auto *row = new ui::ImageView(QRectF(QPointF(0, 0), _doctorInfoCell.size()));
        row->setImage(_doctorInfoCell);
        // A picture of the list's row: read as the row was read, by its texts.
        QStringList texts;
        for (const QJsonValue &value :
             {_doctorInfo.ysmc(), _doctorInfo.yszc(), _doctorInfo.yymc(), _doctorInfo.scjb()}) {
            if (const QString text = RVBaseInfo::text(value); !text.isEmpty())
                texts << text;
        }
        row->setAccessibilityLabel(texts.join(u' '));
        cell->addSubview(row);
    }
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    return cell;
}

ui::TableViewCell *RVDoctorController::gridCell(ui::TableView *tableView,
                                                const ui::IndexPath &indexPath)
{
    ui::TableViewCell *cell =
        tableView->dequeueReusableCellWithIdentifier(reuseIdentifier, indexPath);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    cell->setBackgroundColor(ui::Color::whiteColor());
    // A reused cell still carries the day it showed before: clear its buttons and columns.
    for (ui::View *subview : cell->subviews()) {
        if (qobject_cast<ui::Button *>(subview) != nullptr ||
            qobject_cast<ui::Label *>(subview) != nullptr)
            subview->removeFromSuperview();
    }

    const int row = indexPath.row;
    const qreal height = cellHeight - 1;
    ui::Label *date = columnLabel(0.5, 70, height, ui::Color::colorWithWhite(0.9, 1.0));
    date->setText(m_grid.dayLabel(row));
    ui::Label *morning = columnLabel(70.5, 125, height, ui::Color::whiteColor());
    ui::Label *afternoon = columnLabel(195.5, 125, height, ui::Color::whiteColor());
    for (ui::Label *label : {date, morning, afternoon})
        cell->addSubview(label);

    for (const RVDoctorScheduleInfo &schedule : m_grid.schedulesOf(row))
        addScheduleButton(cell, schedule, row, morning, afternoon);
    return cell;
}

void RVDoctorController::addScheduleButton(ui::TableViewCell *cell,
                                           const RVDoctorScheduleInfo &schedule, int row,
                                           ui::View *morning, ui::View *afternoon)
{
    auto *button = ui::Button::buttonWithType(ui::ButtonType::Custom);
    button->setBackgroundColor(ui::Color::clearColor());
    button->setTitle(RVScheduleGrid::title(schedule));
    const RVScheduleGrid::Column where = RVScheduleGrid::columnOf(schedule);
    ui::View *column = where == RVScheduleGrid::Column::Morning     ? morning
                       : where == RVScheduleGrid::Column::Afternoon ? afternoon
                                                                    : nullptr;
    if (column != nullptr) {
        auto *image = new ui::ImageView(QRectF(23, 5, 85, cellHeight - 10));
        const bool watched = isWatched(schedule);
        image->setImage(ui::Image::imageNamed(
            watched ? u"yuyue_watch_btn_nor.png"_s : pictureOf(RVScheduleGrid::stateOf(schedule))));
        column->addSubview(image);
        button->setFrame(column->frame());
    } else {
        button->setFrame(QRectF());
    }
    button->addTarget([this](ui::Control *sender) { reservationButtonClicked(sender); },
                      ui::ControlEvent::TouchUpInside);
    button->setTag(RVScheduleGrid::buttonKey(schedule, row).toInt());
    const QString name = RVHalfDayName::of(m_grid.day(row), schedule);
    button->setAccessibilityLabel(isWatched(schedule) ? tr("%1，已设置有号提醒").arg(name) : name);
    cell->addSubview(button);
}

void RVDoctorController::reservationButtonClicked(ui::Control *sender)
{
    if (sender == nullptr)
        return;
    const QString key = QString::number(sender->tag());
    const std::optional<RVDoctorScheduleInfo> schedule = m_grid.halfDayToOpen(key);
    if (!schedule) {
        if (const auto full = m_grid.halfDayToWatch(key))
            offerWatch(*full);
        return;
    }
    ui::NavigationController *navigation = navigationController();
    if (navigation == nullptr)
        return;
    if (auto next = RVReservationTimeElectController::instantiateFor(_doctorInfo, *schedule))
        navigation->pushViewController(next, true);
}

bool RVDoctorController::isWatched(const RVDoctorScheduleInfo &schedule) const
{
    return RVScheduleGrid::stateOf(schedule) == RVScheduleGrid::State::FullyBooked &&
           m_watched.contains(RVWatch::keyOf(_doctorInfo, schedule));
}

void RVDoctorController::loadWatched()
{
    const RVWatches watches = RVWatches::ofLoggedInUser();
    if (!watches.hasUser()) {
        m_watched.clear();
        return;
    }
    RVProgress::fetch(
        this, [watches] { return watches.keys(); },
        [](RVDoctorController &self, const QSet<QString> &keys) {
            if (keys == self.m_watched)
                return;
            self.m_watched = keys;
            if (self._tableViewReservInfo)
                self._tableViewReservInfo->reloadData();
        });
}

void RVDoctorController::offerWatch(const RVDoctorScheduleInfo &schedule)
{
    // The watches are kept in the user's own store: without a login there is none.
    if (!RVAppConfigInfo::userLogined()) {
        RVAlert::offerLogin(this);
        return;
    }
    const RVWatch watch(_doctorInfo, schedule);
    if (m_watched.contains(watch.key())) {
        RVAlert::tip(RVWatch::messageOf(RVWatch::Added::AlreadyWatched), view());
        return;
    }
    const QString question =
        tr("%1 %2已约满，\n有号时提醒您吗？").arg(watch.dayText(), watch.halfDayName());
    RVAlert::confirm(this, tr("有号提醒"), question, tr("提醒我"), [this, watch] {
        RVProgress::run(
            this, QString(),
            [watch, watches = RVWatches::ofLoggedInUser()] { return watches.add(watch); },
            [key = watch.key()](RVDoctorController &self, RVWatch::Added added) {
                self.finishedWatch(key, added);
            });
    });
}

void RVDoctorController::finishedWatch(const QString &key, RVWatch::Added added)
{
    if (added == RVWatch::Added::Added || added == RVWatch::Added::AlreadyWatched) {
        m_watched.insert(key);
        if (_tableViewReservInfo)
            _tableViewReservInfo->reloadData();
    }
    if (!isOnTop())
        return;
    if (added == RVWatch::Added::Added)
        RVAlert::tip(RVWatch::messageOf(added), view());
    else
        RVAlert::show(RVWatch::messageOf(added));
}
