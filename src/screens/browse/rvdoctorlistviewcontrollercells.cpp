// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
// The rows of the doctor list, the snapshot of a row and the way to the doctor detail screen.
#include "components/rvasynimageview.h"
#include "screens/booking/rvdoctorcontroller.h"
#include "screens/browse/rvdoctorlistviewcontroller.h"
#include "screens/shared/rvclearfooter.h"
#include "toolkit/color.h"
#include "toolkit/font.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/storyboard.h"
#include "toolkit/tableviewcell.h"
#include "toolkit/textmetrics.h"

#include <memory>
#include <utility>

using namespace Qt::StringLiterals;

namespace
{
const QString reuseIdentifier = u"ReuseDoctorListCell"_s;

ui::Label *addLabel(ui::TableViewCell *cell, const QRectF &frame, const QString &text,
                    const QFont &font, const QColor &color)
{
    auto *label = new ui::Label(frame);
    label->setText(text);
    label->setFont(font);
    label->setTextColor(color);
    label->setTextAlignment(ui::TextAlignment::Left);
    label->setBackgroundColor(ui::Color::whiteColor());
    cell->addSubview(label);
    return label;
}
} // namespace

ui::TableViewCell *RVDoctorListViewController::cellForRowAtIndexPath(ui::TableView *tableView,
                                                                     const ui::IndexPath &indexPath)
{
    ui::TableViewCell *cell = tableView->dequeueReusableCellWithIdentifier(reuseIdentifier);
    if (cell == nullptr)
        cell = new ui::TableViewCell(ui::TableViewCellStyle::Default, reuseIdentifier);
    // The labels and the photo of the doctor this cell showed before go; a photo left behind
    // would show through under the new one.
    const QList<ui::View *> subviews = cell->subviews();
    for (ui::View *view : subviews) {
        if (qobject_cast<ui::Label *>(view) != nullptr ||
            qobject_cast<RVAsynImageView *>(view) != nullptr)
            view->removeFromSuperview();
    }
    cell->setTag(indexPath.row + 1);
    fillCell(cell, m_pages.doctorList().value(indexPath.row));
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    return cell;
}

void RVDoctorListViewController::fillCell(ui::TableViewCell *cell, const RVDoctorInfo &doctor) const
{
    auto *photo = new RVAsynImageView(QRectF(5, 5, 60, 85));
    photo->setPlaceholderImage(ui::Image::imageNamed(u"doctor_logo.png"_s));
    photo->setImageURL(RVBaseInfo::text(doctor.yszp()));
    cell->addSubview(photo);

    const QString name = RVBaseInfo::text(doctor.ysmc());
    const QFont nameFont = ui::Font::systemFontOfSize(22);
    const QSizeF nameSize = ui::TextMetrics::sizeWithFont(name, nameFont);
    addLabel(cell, QRectF(75, 5, nameSize.width() + 5, nameSize.height()), name, nameFont,
             ui::Color::colorWithRed(0, 0.5, 0.5));

    // The title sits right of the name, its bottom one point above the name's.
    const QString title = RVBaseInfo::text(doctor.yszc());
    const QFont titleFont = ui::Font::systemFontOfSize(15);
    const QSizeF titleSize = ui::TextMetrics::sizeWithFont(title, titleFont);
    addLabel(cell,
             QRectF(75 + nameSize.width() + 5, nameSize.height() + 4 - titleSize.height(),
                    titleSize.width(), titleSize.height()),
             title, titleFont, ui::Color::grayColor());

    addLabel(cell, QRectF(75, 30, 230, 30), RVBaseInfo::text(doctor.yymc()),
             ui::Font::systemFontOfSize(15), ui::Color::blackColor());
    ui::Label *speciality = addLabel(cell, QRectF(75, 55, 230, 30), RVBaseInfo::text(doctor.scjb()),
                                     ui::Font::systemFontOfSize(13), ui::Color::grayColor());
    speciality->setLineBreakMode(ui::LineBreakMode::WordWrap);
    speciality->setNumberOfLines(2);
}

std::optional<ui::IndexPath>
RVDoctorListViewController::willSelectRowAtIndexPath(ui::TableView *,
                                                     const ui::IndexPath &indexPath)
{
    // While the search keyboard is up, a tap on the list only puts it away. The finger's
    // press has usually taken the keyboard away already, so what counts is whether it was up
    // when the touch began.
    const bool keyboardWasUp = std::exchange(m_touchBeganWithKeyboard, false);
    if (m_searchBar && m_searchBar->isFirstResponder()) {
        m_searchBar->resignFirstResponder();
        return std::nullopt;
    }
    if (keyboardWasUp)
        return std::nullopt;
    return indexPath;
}

void RVDoctorListViewController::didSelectRowAtIndexPath(ui::TableView *,
                                                         const ui::IndexPath &indexPath)
{
    openDoctor(indexPath.row);
}

ui::View *RVDoctorListViewController::viewForFooterInSection(ui::TableView *, int)
{
    return RVClearFooter::make();
}

ui::Image RVDoctorListViewController::snapshotOfRow(int row) const
{
    ui::TableViewCell *cell = m_tableView ? m_tableView->cellForRowAtIndexPath({0, row}) : nullptr;
    if (cell == nullptr)
        return {};
    return ui::Image::fromQImage(cell->grab().toImage());
}

void RVDoctorListViewController::openDoctor(int row)
{
    if (row < 0 || row >= m_pages.doctorList().size())
        return;
    auto detail =
        RVDoctorController::instantiateFor(m_pages.doctorList().at(row), snapshotOfRow(row));
    ui::NavigationController *navigation = navigationController();
    if (detail && navigation != nullptr)
        navigation->pushViewController(detail, true);
}
