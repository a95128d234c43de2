// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvbookingpass.h"
#include "screens/shared/rvscreen.h"
#include "toolkit/button.h"

#include <QPointer>

class RVPassView;

// The pass of one open booking, to show at the check-in desk: its QR code and the booking in
// large text, and "保存为PDF" to keep it as a printable page. The history hands it the booking
// before pushing it.
class RVBookingPassViewController final : public RVScreen
{
    Q_OBJECT

public:
    // The pass of a booking, made from the storyboard.
    static std::shared_ptr<RVBookingPassViewController>
    instantiateFor(const RVReservationInfo &booking);

    RVReservationInfo booking() const { return m_booking; }
    ui::Button *saveButton() const { return m_saveButton; }

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

private:
    RVReservationInfo m_booking;
    QPointer<RVPassView> m_passView;
    QPointer<ui::Button> m_saveButton;
};
