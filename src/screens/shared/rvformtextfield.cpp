// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "screens/shared/rvformtextfield.h"

#include "toolkit/color.h"
#include "toolkit/tableviewcell.h"
#include "toolkit/textfield.h"

ui::TextField *RVFormTextField::make(const Options &options, Changed changed)
{
    auto *field = new ui::TextField(QRectF(0, 0, 280, 31));
    field->setContentVerticalAlignment(ui::ContentVerticalAlignment::Center);
    field->setReturnKeyType(ui::ReturnKeyType::Done);
    field->setClearButtonMode(ui::TextFieldViewMode::WhileEditing);
    field->setTag(options.row);
    field->setBackgroundColor(ui::Color::whiteColor());
    field->setSecureTextEntry(options.secure);
    if (!options.placeholder.isEmpty())
        field->setPlaceholder(options.placeholder);
    if (!options.text.isEmpty())
        field->setText(options.text);
    field->addTarget(
        [](ui::Control *sender) {
            if (auto *self = qobject_cast<ui::TextField *>(sender))
                self->resignFirstResponder();
        },
        ui::ControlEvent::EditingDidEndOnExit);
    if (changed) {
        field->addTarget(
            [changed = std::move(changed)](ui::Control *sender) {
                if (auto *self = qobject_cast<ui::TextField *>(sender))
                    changed(self->tag(), self->text());
            },
            ui::ControlEvent::EditingChanged);
    }
    return field;
}

ui::TextField *RVFormTextField::install(ui::TableViewCell *cell, const Options &options,
                                        Changed changed)
{
    ui::TextField *field = make(options, std::move(changed));
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    cell->setAccessoryView(field);
    cell->setBackgroundColor(field->backgroundColor());
    return field;
}
