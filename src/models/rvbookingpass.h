// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "models/rvqrcode.h"
#include "protocols/rvreservationinfo.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the pass of a booking shows at the check-in desk: the booking in large text, the
// patient's identity number masked to its last four characters, and a QR code that names the
// booking to the hospital's scanner and holds nothing personal.
class RVBookingPass final
{
public:
    explicit RVBookingPass(RVReservationInfo booking) : m_booking(std::move(booking)) {}

    const RVReservationInfo &booking() const { return m_booking; }
    static QString title();
    // One line each: hospital, department, doctor, time, slot number, patient, identity
    // number; a part the booking lacks is left out.
    QStringList lines() const;
    // "rvbooking:<yylsh>?hospid=…&pbid=…&fzxh=…&jzrq=…", each value percent-encoded.
    QString payload() const;
    std::optional<RVQrCode> qrCode() const;
    // "<serial number>.pdf", with any character a file name should not hold replaced.
    QString fileName() const;

    static QString maskedIdentity(const QString &sfzhm);

private:
    RVReservationInfo m_booking;
};
