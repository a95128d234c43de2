// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/account/rvwatchlistviewcontroller.h"

#include "components/rvprogress.h"
#include "models/rvwatches.h"
#include "screens/shared/rvalert.h"
#include "screens/shared/rvclearfooter.h"
#include "toolkit/color.h"
#include "toolkit/tableviewcell.h"

using namespace Qt::StringLiterals;

namespace
{
const QString reuseIdentifier = u"ReuseWatchCell"_s;
} // namespace

RVWatchListViewController::RVWatchListViewController()
{
    setTitle(tr("有号提醒"));
}

RVWatchListViewController::~RVWatchListViewController() = default;

void RVWatchListViewController::loadView()
{
    ui::ViewController::loadView();
    m_tableView = new ui::TableView(view()->bounds());
    m_tableView->registerCellFactory(reuseIdentifier, [] {
        return new ui::TableViewCell(ui::TableViewCellStyle::Subtitle, reuseIdentifier);
    });
    view()->addSubview(m_tableView);
    // Over the table, shown only when there is no watch: a blank screen says nothing.
    m_emptyNotice = new ui::Label(QRectF(10, 40, 300, 60));
    m_emptyNotice->setText(tr("暂无有号提醒。在医生的排班上点一个“约满”的时段即可设置。"));
    m_emptyNotice->setNumberOfLines(0);
    m_emptyNotice->setTextAlignment(ui::TextAlignment::Center);
    m_emptyNotice->setTextColor(ui::Color::darkGrayColor());
    m_emptyNotice->setUserInteractionEnabled(false);
    m_emptyNotice->setHidden(true);
    view()->addSubview(m_emptyNotice);
}

void RVWatchListViewController::viewDidLoad()
{
    const QColor background = ui::Color::colorWithWhite(0.96, 1.0);
    view()->setBackgroundColor(background);
    m_tableView->setBackgroundColor(background);
    m_tableView->setDataSource(this);
    m_tableView->setDelegate(this);
}

void RVWatchListViewController::viewDidAppear(bool animated)
{
    RVScreen::viewDidAppear(animated);
    load();
}

void RVWatchListViewController::load()
{
    RVProgress::fetch(
        this, [watches = RVWatches::ofLoggedInUser()] { return watches.all(); },
        [](RVWatchListViewController &self, const QList<RVWatch> &watches) { self.show(watches); });
}

void RVWatchListViewController::show(const QList<RVWatch> &watches)
{
    m_watches = watches;
    if (m_emptyNotice)
        m_emptyNotice->setHidden(!m_watches.isEmpty());
    if (m_tableView)
        m_tableView->reloadData();
}

ui::TableViewCell *RVWatchListViewController::cellForRowAtIndexPath(ui::TableView *tableView,
                                                                    const ui::IndexPath &indexPath)
{
    ui::TableViewCell *cell =
        tableView->dequeueReusableCellWithIdentifier(reuseIdentifier, indexPath);
    const RVWatch watch = m_watches.value(indexPath.row);
    cell->setBackgroundColor(ui::Color::whiteColor());
    cell->textLabel()->setText(watch.doctorName());
    cell->detailTextLabel()->setText(watch.whenText());
    return cell;
}

ui::View *RVWatchListViewController::viewForFooterInSection(ui::TableView *, int)
{
    return RVClearFooter::make();
}

void RVWatchListViewController::commitEditingStyle(ui::TableView *,
                                                   ui::TableViewCellEditingStyle style,
                                                   const ui::IndexPath &indexPath)
{
    if (style == ui::TableViewCellEditingStyle::Delete && indexPath.row >= 0 &&
        indexPath.row < m_watches.size())
        remove(m_watches.at(indexPath.row).key());
}

void RVWatchListViewController::didSelectRowAtIndexPath(ui::TableView *tableView,
                                                        const ui::IndexPath &indexPath)
{
    tableView->deselectRowAtIndexPath(indexPath, true);
    if (indexPath.row < 0 || indexPath.row >= m_watches.size())
        return;
    const RVWatch &watch = m_watches.at(indexPath.row);
    const QString which = watch.doctorName() + u' ' + watch.whenText();
    RVAlert::confirm(this, tr("删除这个有号提醒？"), which, tr("删除"),
                     [this, key = watch.key()] { remove(key); });
}

void RVWatchListViewController::remove(const QString &key)
{
    RVProgress::run(
        this, QString(),
        [watches = RVWatches::ofLoggedInUser(), key] { return watches.remove(key); },
        [key](RVWatchListViewController &self, bool) {
            // Gone either way: removed now, or ended by the poller meanwhile.
            QList<RVWatch> left = self.m_watches;
            left.removeIf([&key](const RVWatch &watch) { return watch.key() == key; });
            self.show(left);
        });
}
