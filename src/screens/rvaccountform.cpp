// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/rvaccountform.h"

#include "toolkit/alertview.h"
#include "toolkit/button.h"
#include "toolkit/color.h"
#include "toolkit/font.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"
#include "toolkit/textfield.h"
#include "toolkit/textmetrics.h"

using namespace Qt::StringLiterals;

namespace
{
constexpr qreal kCaptionX = 15;
constexpr qreal kCaptionY = 10;
constexpr qreal kCaptionGap = 20;
constexpr qreal kCaptionFontSize = 16;
constexpr qreal kButtonX = 10;
constexpr qreal kButtonWidth = 300;
constexpr qreal kButtonHeight = 45;
constexpr qreal kButtonFontSize = 20;
// Marks what addCaptionedField put into a row, so that a reused row can drop it.
const char *const captionedRowProperty = "rvCaptionedRow";
} // namespace

void RVAccountForm::showAlert(const QString &message)
{
    ui::AlertView::initWithTitle(QString(), message, nullptr, u"确定"_s)->show();
}

ui::TextField *RVAccountForm::makeField(const QRectF &frame, int row, const QString &text,
                                        const QString &placeholder, bool secure)
{
    auto *field = new ui::TextField(frame);
    field->setContentVerticalAlignment(ui::ContentVerticalAlignment::Center);
    field->setReturnKeyType(ui::ReturnKeyType::Done);
    field->setClearButtonMode(ui::TextFieldViewMode::WhileEditing);
    field->setTag(row);
    field->setBackgroundColor(ui::Color::whiteColor());
    if (!placeholder.isEmpty())
        field->setPlaceholder(placeholder);
    field->setText(text);
    field->setSecureTextEntry(secure);
    return field;
}

ui::TextField *RVAccountForm::addCaptionedField(ui::TableViewCell *cell, const QString &caption,
                                                qreal fieldWidth)
{
    for (ui::View *old : cell->contentView()->subviews()) {
        if (old->property(captionedRowProperty).toBool())
            old->removeFromSuperview();
    }
    const QFont font = ui::Font::systemFontOfSize(kCaptionFontSize);
    const QSizeF size = ui::TextMetrics::sizeWithFont(caption, font);
    auto *label = new ui::Label(QRectF(QPointF(kCaptionX, kCaptionY), size));
    label->setText(caption);
    label->setFont(font);
    label->setTextAlignment(ui::TextAlignment::Left);
    label->setProperty(captionedRowProperty, true);
    cell->contentView()->addSubview(label);
    auto *field = makeField(
        QRectF(size.width() + kCaptionGap, kCaptionY, fieldWidth, size.height()), 0, {}, {}, false);
    field->setProperty(captionedRowProperty, true);
    cell->contentView()->addSubview(field);
    return field;
}

ui::Button *RVAccountForm::placeSubmitButton(ui::TableView *tableView, QPointer<ui::Button> &slot,
                                             const QString &title, qreal bottomOffset)
{
    const QRectF frame(kButtonX, tableView->contentSize().height() - bottomOffset, kButtonWidth,
                       kButtonHeight);
    if (slot) {
        slot->setFrame(frame);
        return nullptr;
    }
    auto *button = new ui::Button(ui::ButtonType::RoundedRect, frame);
    button->setTitle(title);
    QFont font = button->titleLabel()->font();
    font.setPixelSize(int(kButtonFontSize));
    button->titleLabel()->setFont(font);
    tableView->addSubview(button);
    slot = button;
    return button;
}

void RVAccountForm::reserveButtonSpace(ui::TableView *tableView, qreal height)
{
    auto *footer = new ui::View(QRectF(0, 0, tableView->frame().width(), height));
    footer->setBackgroundColor(ui::Color::clearColor());
    tableView->setTableFooterView(footer);
}

bool RVAccountForm::isOnTop(const ui::ViewController *screen)
{
    const ui::NavigationController *navigation =
        screen != nullptr ? screen->navigationController() : nullptr;
    return navigation != nullptr && navigation->topViewController() == screen;
}
