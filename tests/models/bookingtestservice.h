// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "fakeservice.h"
#include "models/rvbooking.h"

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

// A scripted booking service for the booking tests: each transaction code answers with what
// the test set for it (an unknown code is refused), and every request is kept with its body
// deciphered, so a test can check at the service side what a model or a screen sent. It points
// every client at itself. Replies go back as plain JSON, which the client accepts for every
// code.
class BookingTestService final
{
public:
    struct Received {
        QString code;
        QJsonObject body;
    };
    using Answer = std::function<QJsonObject(const QJsonObject &body)>;

    BookingTestService();

    // A reply whose head has succflag and retmsg, and whose body holds list when given.
    static QJsonObject reply(bool success, const QString &message,
                             const QJsonArray *list = nullptr);
    void answer(const QString &code, Answer answer) { m_answers.insert(code, std::move(answer)); }
    void answer(const QString &code, const QJsonObject &fixed)
    {
        answer(code, [fixed](const QJsonObject &) { return fixed; });
    }
    QList<Received> received(const QString &code) const;
    // Answers the code only after the given time, without blocking the event loop.
    void delay(const QString &code, int milliseconds) { m_delays.insert(code, milliseconds); }
    // The answer is made, then lost on the way back as the ending says.
    void lose(const QString &code, FakeService::Ending ending) { m_losses.insert(code, ending); }

    // The user saved and logged in as the login exchange would leave it, with the fixed key
    // as the login key.
    static void logIn(const RVUserInfo &user);

    // The booking the tests make: a patient, and the doctor, half-day and slot chosen.
    static RVUserInfo patient(int xb = 1, bool withAddress = true);
    struct Choice {
        RVDoctorInfo doctor;
        RVDoctorScheduleInfo half;
        RVDoctorTimeSchedule slot;
        RVBooking bookingOf(const RVUserInfo &user) const { return {user, doctor, half, slot}; }
    };
    static Choice choice();

private:
    FakeService::Response handle(const FakeService::Request &request);

    std::unique_ptr<FakeService> m_service;
    QHash<QString, Answer> m_answers;
    QHash<QString, int> m_delays;
    QHash<QString, FakeService::Ending> m_losses;
    QList<Received> m_received;
};
