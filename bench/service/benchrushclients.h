// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "benchrushstore.h"

#include <QByteArray>
#include <QList>
#include <QRandomGenerator>
#include <QStringList>

#include <chrono>
#include <functional>
#include <vector>

// The patients of a rush, every one on its own kept-alive connection, all driven by one
// epoll loop on the calling thread: thousands of connections cost a few kilobytes each here,
// where a thread or a libcurl handle apiece would swamp two cores. One request at a time per
// connection, nothing pipelined, as the patient client sends them. The connections come
// from many loopback addresses (127.1.x.y), a few dozen each, as patients come from many
// homes, so that per-address bounds in front of the service see a realistic spread.
//
// Before the moment each patient opens its doctor's schedule ("B008") and chooses a place
// there: one of the half-days on sale and a time of it (the times of a half-day are known
// from earlier days). At the moment each presses "确认" ("C001"); on a refusal it reads the
// schedule again, then the free times of a half-day that still has places ("B009"), and
// tries that, pressing at most three times in all.
class BenchRushClients final
{
public:
    static constexpr int maxPresses = 3;

    struct Figures {
        int ready = 0;      // connected and holding a chosen place before the moment
        qint64 setUpMs = 0; // from the first connection to the last client ready
        int booked = 0;
        int gone = 0;  // refused because the places were taken, or none left to try
        int error = 0; // any other answer
        int none = 0;  // no answer: the connection failed, or the deadline came first
        int connectFailures = 0;
        int resets = 0;           // connections that ended with a request unanswered
        int refused503 = 0;       // answered 503: no room for the connection or the request
        int reconnects = 0;       // kept-alive connections found closed and opened again
        int requests = 0;         // sent from the moment on
        int presses = 0;          // of them: bookings ("C001"), the rest reads
        QList<qint64> answeredUs; // each answered client's last answer, from the moment
        QList<qint64> bookedUs;   // each booking's answer, from the moment
        QStringList errorSamples;
    };

    BenchRushClients(quint16 port, const QList<BenchRushStore::Account> &accounts,
                     const QList<BenchRushStore::HalfDay> &halfDays, quint32 seed);
    ~BenchRushClients();
    Q_DISABLE_COPY_MOVE(BenchRushClients)

    // Connects every client, at most `window` setting up at once, and has each read its
    // schedule and choose; returns when all are ready or failed, or after `timeoutMs`.
    void setUp(int window, int timeoutMs);
    // Runs `release`, takes that instant as the moment, lets every ready client press, and
    // returns when all have their last answer or `deadlineMs` after the moment.
    void rush(const std::function<bool()> &release, int deadlineMs);
    const Figures &figures() const { return m_figures; }

private:
    using Clock = std::chrono::steady_clock;
    enum class Ask { None, Schedule, Slots, Book };
    enum class Outcome { Pending, Booked, Gone, Error, None };
    struct Client {
        int fd = -1;
        int doctor = 0;
        bool connecting = false;
        Ask ask = Ask::None;
        QByteArray out;
        QByteArray in;
        QByteArray chosen; // the prepared press
        int presses = 0;
        int reads = 0;
        int halfDay = -1;
        Outcome outcome = Outcome::Pending;
    };
    struct Doctor {
        QString ysdm;
        QList<int> halfDays; // indexes into m_halfDays
    };

    bool open(int index);
    void closeSocket(Client &client);
    void send(int index, const QByteArray &form, Ask ask);
    void flush(int index);
    void onEvent(int index, quint32 events);
    void onReadable(int index);
    void onEnded(int index);
    bool takeReply(int index);
    void onReply(int index, int status, const QByteArray &body);
    void onSchedule(int index, const QByteArray &body);
    void onSlots(int index, const QByteArray &body);
    void onBooking(int index, const QByteArray &body);
    void finish(int index, Outcome outcome, const QString &why = {});
    QByteArray bookingForm(int index, int halfDay, int fzxh) const;
    QByteArray scheduleForm(int index) const;
    QByteArray slotsForm(int index, int halfDay) const;
    void poll(int timeoutMs);
    qint64 sinceMoment() const;

    quint16 m_port;
    QList<BenchRushStore::Account> m_accounts;
    QList<BenchRushStore::HalfDay> m_halfDays;
    QList<Doctor> m_doctors;
    std::vector<Client> m_clients;
    QRandomGenerator m_random;
    int m_epoll = -1;
    bool m_afterMoment = false;
    Clock::time_point m_moment;
    int m_settled = 0; // clients whose set-up or rush has come to an end
    Figures m_figures;
};
