// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

namespace ui
{
class View;
}

// The thin gap below every list: a plain view of 320 by 5 points with a clear background,
// returned as the footer of the list's one section. The caller (the table) takes it over.
namespace RVClearFooter
{
ui::View *make();
} // namespace RVClearFooter
