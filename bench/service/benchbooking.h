// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

class BenchHttpClient;

// The booking workload of one store: a few registered patients, each client booking a random
// slot of a few contested half-days ("C001", enciphered with its patient's login key) and
// cancelling it at once ("C005"). Counts, on the clients' side, any slot that a booking was
// granted while another client still held it.
class BenchBooking final
{
public:
    static constexpr int patients = 16;
    static constexpr int slotsPerHalfDay = 8;

    explicit BenchBooking(quint16 port) : m_port(port) {}

    // Registers the patients; false when the service refuses or the half-days are missing.
    bool prepare(const QStringList &halfDays);
    // One booking and, when it was granted, its cancel; notes each exchange's latency and
    // returns the exchanges that failed (a refusal because the slot is taken is no failure).
    int bookAndCancel(BenchHttpClient &client, int clientNumber, QList<qint64> &latencies);
    int soldTwice() const { return m_soldTwice.load(); }
    QStringList halfDays() const { return m_halfDays; }

private:
    struct Patient {
        QString yhm;
        QString yhid;
        QString key;
    };

    quint16 m_port;
    QList<Patient> m_patients;
    QStringList m_halfDays;
    std::unique_ptr<std::atomic<int>[]> m_held;
    std::atomic<int> m_soldTwice{0};
};
