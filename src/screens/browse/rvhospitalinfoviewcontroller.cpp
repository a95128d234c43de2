// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/browse/rvhospitalinfoviewcontroller.h"

#include "protocols/rvprotocol.h"
#include "screens/browse/rvdepartmentlistcontroller.h"
#include "screens/browse/rvdetailinfoviewcontroller.h"
#include "screens/shared/rvalert.h"
#include "screens/shared/rvclearfooter.h"
#include "toolkit/color.h"
#include "toolkit/font.h"
#include "toolkit/image.h"
#include "toolkit/imageview.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/navigationitem.h"
#include "toolkit/storyboard.h"
#include "toolkit/tableviewcell.h"

using namespace Qt::StringLiterals;

namespace
{
const QString reuseIdentifier = u"hospitalInfoCell"_s;

enum Row { Header = 0, Address, Telephone, Departments, Details, Introduction, Notice };

ui::Label *addLabel(ui::TableViewCell *cell, const QRectF &frame, const QString &text,
                    const QFont &font)
{
    auto *label = new ui::Label(frame);
    label->setText(text);
    label->setFont(font);
    label->setTextAlignment(ui::TextAlignment::Left);
    cell->contentView()->addSubview(label);
    return label;
}

void addImage(ui::TableViewCell *cell, const QString &name, const QRectF &frame)
{
    ui::ImageView *image = ui::ImageView::initWithImage(ui::Image::imageNamed(name));
    image->setFrame(frame);
    cell->contentView()->addSubview(image);
}
} // namespace

RVHospitalInfoViewController::RVHospitalInfoViewController() {}

std::shared_ptr<RVHospitalInfoViewController>
RVHospitalInfoViewController::instantiateFor(const QString &hospitalCode)
{
    auto next = RVScreen::fromStoryboard<RVHospitalInfoViewController>(u"hospitalInfo"_s);
    if (next)
        next->hospid = hospitalCode;
    return next;
}

RVHospitalInfoViewController::~RVHospitalInfoViewController() = default;

void RVHospitalInfoViewController::loadView()
{
    ui::ViewController::loadView();
    view()->setBackgroundColor(ui::Color::colorWithWhite(0.96));
    m_mainTableView = new ui::TableView(view()->bounds());
    m_mainTableView->registerClass<ui::TableViewCell>(reuseIdentifier);
    view()->addSubview(m_mainTableView);
}

void RVHospitalInfoViewController::viewDidLoad()
{
    m_mainTableView->setDataSource(this);
    m_mainTableView->setDelegate(this);
    m_mainTableView->setBackgroundView(nullptr);
    m_mainTableView->setScrollEnabled(false);
    m_mainTableView->setBackgroundColor(view()->backgroundColor());
    m_mainTableView->setSeparatorStyle(ui::TableViewCellSeparatorStyle::SingleLine);
    loadHosInfoSchedules();
}

void RVHospitalInfoViewController::viewDidAppear(bool animated)
{
    RVScreen::viewDidAppear(animated);
    navigationItem()->setTitle(field(&RVHospitalInfo::yyjc));
}

void RVHospitalInfoViewController::loadHosInfoSchedules()
{
    const QString code = hospid;
    RVScreenLoad::load(
        this, tr("加载中"), [code] { return fetchHospital(code); },
        [](RVHospitalInfoViewController &self, const Outcome &outcome) {
            self.loadHosInfoSchedulesFinish(outcome);
        },
        [](RVHospitalInfoViewController &self) { self.reloadCard(); });
}

RVHospitalInfoViewController::Outcome
RVHospitalInfoViewController::fetchHospital(const QString &hospitalCode)
{
    RVProtocol client;
    const std::optional<RVHospitalInfo> hospital = client.hospitalInfo(hospitalCode);
    Outcome outcome = Outcome::of(client, hospital);
    outcome.httpStats = outcome.httpStats && hospital.has_value();
    return outcome;
}

void RVHospitalInfoViewController::loadHosInfoSchedulesFinish(const Outcome &outcome)
{
    httpStats = outcome.httpStats;
    // A failed load leaves no hospital: the text detail then gets none rather than a husk.
    hospitalInfo = httpStats ? outcome.value : std::nullopt;
    httpErrorMessage = outcome.httpErrorMessage;
}

void RVHospitalInfoViewController::reloadCard()
{
    // Shown now rather than only on the next appearance, so the card never stands untitled.
    navigationItem()->setTitle(field(&RVHospitalInfo::yyjc));
    // The views may have gone with the window while the screen waited for its load.
    if (m_mainTableView)
        m_mainTableView->reloadData();
}

qreal RVHospitalInfoViewController::heightForRowAtIndexPath(ui::TableView *,
                                                            const ui::IndexPath &indexPath)
{
    switch (indexPath.row) {
    case Header:
        return 80;
    case Address:
    case Telephone:
        return 45;
    case Introduction:
        return 90;
    default:
        return 40;
    }
}

ui::TableViewCell *
RVHospitalInfoViewController::cellForRowAtIndexPath(ui::TableView *tableView,
                                                    const ui::IndexPath &indexPath)
{
    ui::TableViewCell *cell =
        tableView->dequeueReusableCellWithIdentifier(reuseIdentifier, indexPath);
    // Cells change rows on every reload: start each from a bare cell, so that no text or
    // picture of another row stays under this one.
    clearCell(cell);
    cell->setBackgroundColor(ui::Color::whiteColor());
    switch (indexPath.row) {
    case Header:
        fillHeaderRow(cell);
        break;
    case Address:
        fillAddressRow(cell);
        break;
    case Telephone:
        fillTelephoneRow(cell);
        break;
    default:
        fillEntryRow(cell, indexPath.row);
        break;
    }
    return cell;
}

void RVHospitalInfoViewController::clearCell(ui::TableViewCell *cell)
{
    const QList<ui::View *> added = cell->contentView()->subviews();
    for (ui::View *view : added) {
        if (view != cell->textLabel() && view != cell->detailTextLabel() &&
            view != cell->imageView())
            view->removeFromSuperview();
    }
    cell->textLabel()->setText(QString());
    cell->textLabel()->setTextColor(ui::Color::blackColor());
    cell->textLabel()->setNumberOfLines(1);
    cell->setTag(0);
    // Entries lead on, as the prototype row shows; the data rows say so when they do not.
    cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
}

void RVHospitalInfoViewController::fillHeaderRow(ui::TableViewCell *cell) const
{
    cell->setAccessoryType(ui::TableViewCellAccessoryType::None);
    addImage(cell, u"hospital_photo.png"_s, QRectF(20, 13, 60, 60));
    ui::Label *name = addLabel(cell, QRectF(110, 5, 170, 50), field(&RVHospitalInfo::yymc),
                               ui::Font::boldSystemFontOfSize(14));
    name->setLineBreakMode(ui::LineBreakMode::WordWrap);
    name->setNumberOfLines(2);
    addLabel(cell, QRectF(110, 58, 170, 14), field(&RVHospitalInfo::yydj),
             ui::Font::systemFontOfSize(13));
}

void RVHospitalInfoViewController::fillAddressRow(ui::TableViewCell *cell) const
{
    cell->setAccessoryType(ui::TableViewCellAccessoryType::None);
    addImage(cell, u"detailHospital_addricon.png"_s, QRectF(10, 13, 20, 20));
    ui::Label *address = addLabel(cell, QRectF(40, 4, 250, 40), field(&RVHospitalInfo::yydz),
                                  ui::Font::systemFontOfSize(15));
    address->setLineBreakMode(ui::LineBreakMode::WordWrap);
    address->setNumberOfLines(2);
}

void RVHospitalInfoViewController::fillTelephoneRow(ui::TableViewCell *cell) const
{
    cell->setAccessoryType(ui::TableViewCellAccessoryType::None);
    addImage(cell, u"detailhospital_callicon.png"_s, QRectF(10, 13, 20, 20));
    ui::Label *phone = addLabel(cell, QRectF(40, 14, 230, 18), field(&RVHospitalInfo::yydh),
                                ui::Font::systemFontOfSize(15));
    phone->setTextColor(ui::Color::blueColor());
}

void RVHospitalInfoViewController::fillEntryRow(ui::TableViewCell *cell, int row) const
{
    ui::Label *label = cell->textLabel();
    label->setTextAlignment(ui::TextAlignment::Left);
    switch (row) {
    case Departments:
        label->setText(tr("选择科室挂号"));
        label->setFont(ui::Font::boldSystemFontOfSize(16));
        label->setTextColor(ui::Color::blueColor());
        cell->setTag(101);
        break;
    case Details:
        label->setText(tr("详细信息"));
        label->setFont(ui::Font::systemFontOfSize(16));
        cell->setTag(102);
        break;
    case Introduction:
        label->setText(field(&RVHospitalInfo::yyjs));
        label->setFont(ui::Font::systemFontOfSize(14));
        label->setNumberOfLines(4);
        cell->setAccessoryType(ui::TableViewCellAccessoryType::None);
        break;
    case Notice:
        label->setText(tr("停诊公告"));
        label->setFont(ui::Font::systemFontOfSize(16));
        break;
    default:
        break;
    }
}

void RVHospitalInfoViewController::didSelectRowAtIndexPath(ui::TableView *tableView,
                                                           const ui::IndexPath &indexPath)
{
    std::shared_ptr<ui::ViewController> next;
    switch (indexPath.row) {
    case Departments:
        next = RVDepartmentListController::instantiateFor(hospid);
        break;
    case Details:
    case Introduction:
        next = RVDetailInfoViewController::instantiateFor(hospitalInfo);
        break;
    case Notice:
        RVAlert::show(tr("暂无停诊公告"));
        break;
    default:
        break;
    }
    tableView->deselectRowAtIndexPath(indexPath, true);
    if (next && navigationController() != nullptr)
        navigationController()->pushViewController(next, true);
}

ui::View *RVHospitalInfoViewController::viewForFooterInSection(ui::TableView *, int)
{
    return RVClearFooter::make();
}

QString RVHospitalInfoViewController::field(QJsonValue (RVHospitalInfo::*getter)() const) const
{
    return hospitalInfo ? RVBaseInfo::text(((*hospitalInfo).*getter)()) : QString();
}
