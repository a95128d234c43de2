// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvbookingpass.h"
#include "toolkit/view.h"

#include <optional>

// A booking pass on screen, drawn as it prints: the QR code and the booking in large text.
class RVPassView final : public ui::View
{
    Q_OBJECT

public:
    explicit RVPassView(const QRectF &frame) : ui::View(frame) {}

    void setPass(const RVBookingPass &pass);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<RVBookingPass> m_pass;
};
