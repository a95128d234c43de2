// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvbookingcalendar.h"
#include "models/rvbookingpass.h"

#include <QString>

namespace ui
{
class AlertView;
class View;
} // namespace ui

// A booking saved as a file the user keeps: the calendar entry (.ics) or the pass (.pdf). The
// user picks where in a save dialog; the file is written whole or not at all, and the user is
// told either way. The dialog and the tip belong to the view given (the navigation's), so they
// outlive the screen that asked.
namespace RVBookingFiles
{
void saveCalendar(ui::View *view, const RVBookingCalendar::Entry &entry);
void savePass(ui::View *view, const RVBookingPass &pass);
// The booking's success alert, with "添加到日历" beside "确定".
ui::AlertView *showBookedWithCalendar(const QString &message, ui::View *view,
                                      const RVBookingCalendar::Entry &entry);
} // namespace RVBookingFiles
