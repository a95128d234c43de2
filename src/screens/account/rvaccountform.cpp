// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/account/rvaccountform.h"

#include "components/ztprogresshud.h"
#include "screens/shared/rvalert.h"
#include "screens/shared/rvformtextfield.h"
#include "screens/shared/rvscreenguard.h"
#include "toolkit/button.h"
#include "toolkit/color.h"
#include "toolkit/font.h"
#include "toolkit/label.h"
#include "toolkit/navigationcontroller.h"
#include "toolkit/tableview.h"
#include "toolkit/tableviewcell.h"
#include "toolkit/textfield.h"
#include "toolkit/textmetrics.h"
#include "toolkit/view.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace
{
constexpr qreal kCaptionX = 15;
constexpr qreal kCaptionY = 10;
constexpr qreal kCaptionGap = 20;
constexpr qreal kCaptionFontSize = 16;
constexpr qreal kButtonX = 10;
constexpr qreal kButtonWidth = 300;
constexpr qreal kButtonHeight = 45;
constexpr int kButtonFontSize = 20;
// Marks what addCaptionedField put into a row, so that a reused row can drop it.
const char *const captionedRowProperty = "rvCaptionedRow";

// While a form's change is on its way the overlay stops every tap: the keyboard must not go
// round it and send the change a second time. A tip (text alone) stops nothing.
bool underOverlay(const QWidget *widget)
{
    for (const QWidget *w = widget; w != nullptr; w = w->parentWidget()) {
        for (const auto *hud : w->findChildren<ZtProgressHUD *>(Qt::FindDirectChildrenOnly)) {
            if (hud->mode() != ZtProgressHUDMode::Text)
                return true;
        }
    }
    return false;
}

// Tab in the last field goes to the button, which is in no Tab chain of its own: the rows are
// built, and rebuilt, after the button, and a chain would reach it in the middle of the form.
class TabToButton final : public QObject
{
public:
    TabToButton(QObject *parent, ui::Button *button) : QObject(parent), m_button(button) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && m_button &&
            static_cast<QKeyEvent *>(event)->key() == Qt::Key_Tab &&
            static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier) {
            if (!underOverlay(m_button))
                m_button->setFocus(Qt::TabFocusReason);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<ui::Button> m_button;
};
} // namespace

ui::TextField *RVAccountForm::addCaptionedField(ui::TableViewCell *cell, int row,
                                                const QString &caption, qreal fieldWidth,
                                                Changed changed)
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

    ui::TextField *field = RVFormTextField::make({row, {}, {}, false}, std::move(changed));
    field->setFrame(QRectF(size.width() + kCaptionGap, kCaptionY, fieldWidth, size.height()));
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
    font.setPixelSize(kButtonFontSize);
    button->titleLabel()->setFont(font);
    tableView->addSubview(button);
    slot = button;
    return button;
}

void RVAccountForm::submitFromLastField(ui::TextField *lastField, ui::Button *button)
{
    if (lastField == nullptr || button == nullptr)
        return;
    QPointer<ui::Button> guard(button);
    lastField->addTarget(
        [guard] {
            if (guard && guard->isEnabled() && !underOverlay(guard))
                guard->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
        },
        ui::ControlEvent::EditingDidEndOnExit);
    lastField->lineEdit()->installEventFilter(new TabToButton(lastField, button));
}

void RVAccountForm::confirmDone(ui::ViewController *screen,
                                const QPointer<ui::NavigationController> &navigation,
                                const QString &message)
{
    if (RVAlert::showIfOnTop(screen, message)) {
        RVScreenGuard::popIfOnTop(screen);
        return;
    }
    if (navigation)
        RVAlert::tip(message, navigation->view());
}

ui::TableView *RVAccountForm::addFormTable(ui::View *screenView, const QString &reuseIdentifier,
                                           qreal buttonSpace)
{
    auto *tableView = new ui::TableView(screenView->bounds());
    tableView->registerClass<ui::TableViewCell>(reuseIdentifier);
    auto *footer = new ui::View(QRectF(0, 0, tableView->frame().width(), buttonSpace));
    footer->setBackgroundColor(ui::Color::clearColor());
    tableView->setTableFooterView(footer);
    screenView->addSubview(tableView);
    return tableView;
}

void RVAccountForm::applyFormBackground(ui::View *screenView, ui::TableView *tableView)
{
    tableView->setBackgroundView(nullptr);
    const QColor background = ui::Color::colorWithWhite(0.96, 1.0);
    tableView->setBackgroundColor(background);
    screenView->setBackgroundColor(background);
}
