// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QString>

#include <functional>

namespace ui
{
class TableViewCell;
class TextField;
} // namespace ui

// The text field of the form screens (login, registration, profile, password): one per row of
// a one-section table, 280 by 31 points, text centred vertically, return key "Done", clear
// button while editing, white, tagged with its row. Every editing change hands the whole text
// to the screen with the field's tag (the clear button's empty text included); "Done" only
// closes the keyboard. Installed as the row's accessory, the row taking the field's white.
namespace RVFormTextField
{
struct Options {
    int row = 0;
    QString placeholder;
    QString text;
    bool secure = false;
};
// Called with the field's tag and its whole text after every change.
using Changed = std::function<void(int tag, const QString &text)>;

ui::TextField *make(const Options &options, Changed changed);
// Makes the field and installs it in the cell, which gets no selection style.
ui::TextField *install(ui::TableViewCell *cell, const Options &options, Changed changed);
} // namespace RVFormTextField
