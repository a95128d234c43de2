// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/browse/rvdetailinfoviewcontroller.h"

#include "toolkit/color.h"
#include "toolkit/font.h"
#include "toolkit/label.h"
#include "toolkit/navigationitem.h"
#include "toolkit/tableviewcell.h"
#include "toolkit/textmetrics.h"

using namespace Qt::StringLiterals;

namespace
{
const QString reuseIdentifier = u"ReuseGloryCell"_s;
constexpr qreal kHeadingHeight = 60;
constexpr qreal kTextWidth = 280;
constexpr qreal kTextMaxHeight = 2000;
constexpr qreal kTextPadding = 5;
} // namespace

RVDetailInfoViewController::RVDetailInfoViewController() {}

std::shared_ptr<RVDetailInfoViewController>
RVDetailInfoViewController::instantiateFor(const std::optional<RVHospitalInfo> &hospital)
{
    auto next = RVScreen::fromStoryboard<RVDetailInfoViewController>(u"detailInfo"_s);
    if (next)
        next->hospitalInfo = hospital;
    return next;
}

RVDetailInfoViewController::~RVDetailInfoViewController() = default;

void RVDetailInfoViewController::loadView()
{
    ui::ViewController::loadView();
    view()->setBackgroundColor(ui::Color::colorWithWhite(0.96));
    m_mainTableView = new ui::TableView(view()->bounds());
    m_mainTableView->registerClass<ui::TableViewCell>(reuseIdentifier);
    view()->addSubview(m_mainTableView);
}

void RVDetailInfoViewController::viewDidLoad()
{
    m_mainTableView->setDataSource(this);
    m_mainTableView->setDelegate(this);
}

void RVDetailInfoViewController::viewDidAppear(bool animated)
{
    RVScreen::viewDidAppear(animated);
    navigationItem()->setTitle(tr("医院荣耀信息"));
}

qreal RVDetailInfoViewController::textRowHeight(const QString &text)
{
    if (text.isEmpty())
        return kTextPadding;
    const QSizeF size = ui::TextMetrics::sizeWithFont(text, ui::Font::systemFontOfSize(14),
                                                      QSizeF(kTextWidth, kTextMaxHeight),
                                                      ui::LineBreakMode::CharacterWrap);
    return size.height() + kTextPadding;
}

qreal RVDetailInfoViewController::heightForRowAtIndexPath(ui::TableView *,
                                                          const ui::IndexPath &indexPath)
{
    if (indexPath.row == 0 || indexPath.row == 2)
        return kHeadingHeight;
    // The honours row has no text yet but keeps the height of one line.
    return textRowHeight(indexPath.row == 3 ? introduction() : u" "_s);
}

ui::TableViewCell *RVDetailInfoViewController::cellForRowAtIndexPath(ui::TableView *tableView,
                                                                     const ui::IndexPath &indexPath)
{
    ui::TableViewCell *cell =
        tableView->dequeueReusableCellWithIdentifier(reuseIdentifier, indexPath);
    ui::Label *label = cell->textLabel();
    label->setTextAlignment(ui::TextAlignment::Left);
    label->setLineBreakMode(ui::LineBreakMode::WordWrap);
    label->setNumberOfLines(0);
    const bool heading = indexPath.row == 0 || indexPath.row == 2;
    label->setFont(ui::Font::systemFontOfSize(heading ? 16 : 14));
    switch (indexPath.row) {
    case 0:
        label->setText(tr("医院荣耀"));
        break;
    case 2:
        label->setText(tr("医院介绍"));
        break;
    case 3:
        label->setText(introduction());
        break;
    default:
        label->setText(QString());
        break;
    }
    return cell;
}

QString RVDetailInfoViewController::introduction() const
{
    return hospitalInfo ? RVBaseInfo::text(hospitalInfo->yyjs()) : QString();
}
