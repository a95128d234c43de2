// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "benchrushclients.h"

#include "protocols/rvcipher.h"
#include "service/rvservicedemodata.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

using namespace Qt::StringLiterals;

namespace
{
constexpr int clientsPerAddress = 40;
constexpr int maxReads = 2 * BenchRushClients::maxPresses + 2;
constexpr qsizetype maxReplyBytes = 1024 * 1024;
constexpr std::chrono::seconds stalled{10};

QByteArray compact(const QString &code, const QJsonObject &body)
{
    const QJsonObject envelope{{u"head"_s, QJsonObject{{u"trcode"_s, code}}}, {u"body"_s, body}};
    return QJsonDocument(envelope).toJson(QJsonDocument::Compact);
}

QJsonObject head(const QJsonObject &envelope)
{
    return envelope.value(u"head"_s).toObject();
}

QJsonArray listOf(const QJsonObject &envelope)
{
    return envelope.value(u"body"_s).toObject().value(u"list"_s).toArray();
}

// The refusals that mean the place was taken first; anything else is an error.
bool takenFirst(const QString &message)
{
    return message == u"该时段已约满"_s || message == u"该时段已被预约，请选择其他时段"_s;
}

sockaddr_in loopback(quint32 host, quint16 port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(host);
    return address;
}
} // namespace

BenchRushClients::BenchRushClients(quint16 port, const QList<BenchRushStore::Account> &accounts,
                                   const QList<BenchRushStore::HalfDay> &halfDays, quint32 seed)
    : m_port(port), m_accounts(accounts), m_halfDays(halfDays), m_clients(accounts.size()),
      m_random(seed), m_epoll(epoll_create1(EPOLL_CLOEXEC))
{
    // The clients follow the places: a doctor with more places on sale draws more patients.
    QList<int> doctorOfPlace;
    for (int h = 0; h < m_halfDays.size(); ++h) {
        if (m_doctors.isEmpty() || m_doctors.last().ysdm != m_halfDays.at(h).ysdm)
            m_doctors.append({m_halfDays.at(h).ysdm, {}});
        m_doctors.last().halfDays.append(h);
        doctorOfPlace.insert(doctorOfPlace.size(), m_halfDays.at(h).places,
                             static_cast<int>(m_doctors.size() - 1));
    }
    for (size_t i = 0; i < m_clients.size() && !doctorOfPlace.isEmpty(); ++i)
        m_clients[i].doctor = doctorOfPlace.at(static_cast<qsizetype>(i) % doctorOfPlace.size());
}

BenchRushClients::~BenchRushClients()
{
    for (Client &client : m_clients)
        closeSocket(client);
    if (m_epoll >= 0)
        ::close(m_epoll);
}

qint64 BenchRushClients::sinceMoment() const
{
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - m_moment).count();
}

QByteArray BenchRushClients::scheduleForm(int index) const
{
    const QJsonObject body{{u"ysdm"_s, m_doctors.at(m_clients[index].doctor).ysdm}};
    return "yhm=" + m_accounts.at(index).yhm.toUtf8() +
           "&jym=B008&bwnr=" + compact(u"B008"_s, body);
}

QByteArray BenchRushClients::slotsForm(int index, int halfDay) const
{
    const QJsonObject body{{u"pbid"_s, m_halfDays.at(halfDay).pbid}};
    return "yhm=" + m_accounts.at(index).yhm.toUtf8() +
           "&jym=B009&bwnr=" + compact(u"B009"_s, body);
}

QByteArray BenchRushClients::bookingForm(int index, int halfDay, int fzxh) const
{
    const BenchRushStore::Account &account = m_accounts.at(index);
    const QJsonObject body{{u"pbid"_s, m_halfDays.at(halfDay).pbid},
                           {u"fzxh"_s, QString::number(fzxh)},
                           {u"yhid"_s, account.yhid},
                           {u"yzhm"_s, u"570461"_s}};
    const auto sealed =
        RVCipher::encipherToHex(QString::fromUtf8(compact(u"C001"_s, body)), account.key);
    return "yhm=" + account.yhm.toUtf8() +
           "&jym=C001&bwnr=" + sealed.value_or(QString()).toLatin1();
}

bool BenchRushClients::open(int index)
{
    Client &client = m_clients[index];
    client.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (client.fd < 0)
        return false;
    const int one = 1;
    ::setsockopt(client.fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    // The port is chosen at connect, per destination, so that an address is not limited to
    // one set of ports for every destination.
    ::setsockopt(client.fd, IPPROTO_IP, IP_BIND_ADDRESS_NO_PORT, &one, sizeof one);
    const quint32 home = static_cast<quint32>(index / clientsPerAddress);
    const sockaddr_in source = loopback(0x7f010001u + (home / 250) * 256 + home % 250, 0);
    const sockaddr_in front = loopback(INADDR_LOOPBACK, m_port);
    epoll_event event{};
    event.events = EPOLLIN | EPOLLOUT | EPOLLRDHUP | EPOLLET;
    event.data.u32 = static_cast<quint32>(index);
    if (::bind(client.fd, reinterpret_cast<const sockaddr *>(&source), sizeof source) != 0 ||
        (::connect(client.fd, reinterpret_cast<const sockaddr *>(&front), sizeof front) != 0 &&
         errno != EINPROGRESS) ||
        epoll_ctl(m_epoll, EPOLL_CTL_ADD, client.fd, &event) != 0) {
        closeSocket(client);
        return false;
    }
    client.connecting = true;
    return true;
}

void BenchRushClients::closeSocket(Client &client)
{
    if (client.fd >= 0)
        ::close(client.fd); // leaves the epoll set with it
    client.fd = -1;
    client.connecting = false;
    client.in.clear();
    client.out.clear();
}

void BenchRushClients::send(int index, const QByteArray &form, Ask ask)
{
    Client &client = m_clients[index];
    if (client.fd < 0) {
        if (m_afterMoment || client.reads > 0)
            ++m_figures.reconnects;
        if (!open(index)) {
            ++m_figures.connectFailures;
            finish(index, Outcome::None);
            return;
        }
    }
    client.ask = ask;
    if (m_afterMoment) {
        ++m_figures.requests;
        m_figures.presses += ask == Ask::Book ? 1 : 0;
    }
    client.out += "POST /hrzp2/ComService HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                  "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                  QByteArray::number(form.size()) + "\r\n\r\n" + form;
    if (!client.connecting)
        flush(index);
}

void BenchRushClients::flush(int index)
{
    Client &client = m_clients[index];
    while (client.fd >= 0 && !client.out.isEmpty()) {
        const ssize_t n = ::send(client.fd, client.out.constData(),
                                 static_cast<size_t>(client.out.size()), MSG_NOSIGNAL);
        if (n > 0) {
            client.out.remove(0, n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return;
            onEnded(index);
            return;
        }
    }
}

void BenchRushClients::onEvent(int index, quint32 events)
{
    Client &client = m_clients[index];
    if (client.fd < 0)
        return;
    if (client.connecting) {
        int error = 0;
        socklen_t size = sizeof error;
        ::getsockopt(client.fd, SOL_SOCKET, SO_ERROR, &error, &size);
        if (error != 0 || (events & (EPOLLERR | EPOLLHUP)) != 0) {
            ++m_figures.connectFailures;
            closeSocket(client);
            finish(index, Outcome::None);
            return;
        }
        if ((events & EPOLLOUT) == 0)
            return;
        client.connecting = false;
    }
    if ((events & EPOLLOUT) != 0)
        flush(index);
    if ((events & (EPOLLIN | EPOLLRDHUP | EPOLLHUP | EPOLLERR)) != 0)
        onReadable(index);
}

void BenchRushClients::onReadable(int index)
{
    Client &client = m_clients[index];
    const int fd = client.fd;
    char buffer[16 * 1024];
    while (client.fd == fd && fd >= 0) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            client.in.append(buffer, n);
            while (client.fd == fd && takeReply(index)) {
            }
            if (client.in.size() > maxReplyBytes)
                return onEnded(index);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;
        } else {
            return onEnded(index); // end of stream or reset
        }
    }
}

void BenchRushClients::onEnded(int index)
{
    Client &client = m_clients[index];
    const bool waiting = client.ask != Ask::None;
    closeSocket(client);
    if (!waiting)
        return; // an idle kept-alive connection closed: the next request opens another
    ++m_figures.resets;
    finish(index, Outcome::None);
}

bool BenchRushClients::takeReply(int index)
{
    Client &client = m_clients[index];
    const qsizetype end = client.in.indexOf("\r\n\r\n");
    if (end < 0)
        return false;
    const QByteArray headers = client.in.left(end).toLower();
    const qsizetype at = headers.indexOf("\r\ncontent-length:");
    const qsizetype length =
        at < 0
            ? 0
            : headers.mid(at + 17, headers.indexOf('\r', at + 2) - at - 17).trimmed().toLongLong();
    if (client.in.size() < end + 4 + length)
        return false;
    const int status = headers.mid(9, 3).toInt();
    const QByteArray body = client.in.mid(end + 4, length);
    client.in.remove(0, end + 4 + length);
    if (headers.contains("\r\nconnection: close"))
        closeSocket(client);
    onReply(index, status, body);
    return true;
}

void BenchRushClients::onReply(int index, int status, const QByteArray &body)
{
    const Ask ask = std::exchange(m_clients[index].ask, Ask::None);
    if (status == 503) {
        ++m_figures.refused503;
        return finish(index, Outcome::None);
    }
    if (status != 200)
        return finish(index, Outcome::Error, u"HTTP %1"_s.arg(status));
    switch (ask) {
    case Ask::Schedule:
        return onSchedule(index, body);
    case Ask::Slots:
        return onSlots(index, body);
    case Ask::Book:
        return onBooking(index, body);
    case Ask::None:
        return finish(index, Outcome::Error, u"an answer to no request"_s);
    }
}

void BenchRushClients::onSchedule(int index, const QByteArray &body)
{
    Client &client = m_clients[index];
    ++client.reads;
    const Doctor &doctor = m_doctors.at(client.doctor);
    QList<int> open;
    for (const QJsonValue &row : listOf(QJsonDocument::fromJson(body).object())) {
        const QJsonObject half = row.toObject();
        const bool onSale = half.value(u"kyrs"_s).toVariant().toInt() > 0 &&
                            half.value(u"jlzt"_s).toVariant().toInt() == 0;
        for (int h : doctor.halfDays)
            if (m_halfDays.at(h).pbid == half.value(u"pbid"_s).toString() &&
                (onSale || !m_afterMoment))
                open.append(h);
    }
    if (!m_afterMoment) {
        if (open.isEmpty())
            return finish(index, Outcome::Error, u"the schedule lacks the week"_s);
        const int h = open.at(m_random.bounded(static_cast<int>(open.size())));
        const auto times = RVServiceDemoData::slotTimes(m_halfDays.at(h).bcbm).size();
        client.halfDay = h;
        client.chosen = bookingForm(index, h, 1 + m_random.bounded(static_cast<int>(times)));
        ++m_figures.ready;
        ++m_settled;
        return;
    }
    if (open.isEmpty())
        return finish(index, Outcome::Gone);
    client.halfDay = open.at(m_random.bounded(static_cast<int>(open.size())));
    send(index, slotsForm(index, client.halfDay), Ask::Slots);
}

void BenchRushClients::onSlots(int index, const QByteArray &body)
{
    Client &client = m_clients[index];
    ++client.reads;
    const QJsonArray free = listOf(QJsonDocument::fromJson(body).object());
    if (free.isEmpty()) {
        if (client.reads >= maxReads)
            return finish(index, Outcome::Gone);
        return send(index, scheduleForm(index), Ask::Schedule);
    }
    const QJsonObject slot = free.at(m_random.bounded(static_cast<int>(free.size()))).toObject();
    ++client.presses;
    send(index, bookingForm(index, client.halfDay, slot.value(u"fzxh"_s).toVariant().toInt()),
         Ask::Book);
}

void BenchRushClients::onBooking(int index, const QByteArray &body)
{
    Client &client = m_clients[index];
    const auto text =
        RVCipher::decipherFromHex(QString::fromLatin1(body), m_accounts.at(index).key);
    const QJsonObject reply =
        text ? QJsonDocument::fromJson(text->toUtf8()).object() : QJsonObject();
    if (reply.isEmpty())
        return finish(index, Outcome::Error, u"an unreadable answer"_s);
    if (head(reply).value(u"succflag"_s).toString() == u"0"_s) {
        m_figures.bookedUs.append(sinceMoment());
        return finish(index, Outcome::Booked);
    }
    const QString message = head(reply).value(u"retmsg"_s).toString();
    if (!takenFirst(message))
        return finish(index, Outcome::Error, message);
    if (client.presses >= maxPresses)
        return finish(index, Outcome::Gone);
    send(index, scheduleForm(index), Ask::Schedule);
}

void BenchRushClients::finish(int index, Outcome outcome, const QString &why)
{
    Client &client = m_clients[index];
    if (client.outcome != Outcome::Pending)
        return;
    client.outcome = outcome;
    ++m_settled;
    if (outcome == Outcome::Error && m_figures.errorSamples.size() < 5 &&
        !m_figures.errorSamples.contains(why))
        m_figures.errorSamples.append(why);
    if (!m_afterMoment)
        return; // a client that never got ready: counted as unanswered after the rush
    if (outcome != Outcome::None)
        m_figures.answeredUs.append(sinceMoment());
    if (outcome == Outcome::Booked)
        ++m_figures.booked;
    else if (outcome == Outcome::Gone)
        ++m_figures.gone;
    else if (outcome == Outcome::Error)
        ++m_figures.error;
}

void BenchRushClients::poll(int timeoutMs)
{
    epoll_event events[512];
    const int n = epoll_wait(m_epoll, events, 512, timeoutMs);
    for (int i = 0; i < n; ++i)
        onEvent(static_cast<int>(events[i].data.u32), events[i].events);
}

void BenchRushClients::setUp(int window, int timeoutMs)
{
    const auto begun = Clock::now();
    const auto deadline = begun + std::chrono::milliseconds(timeoutMs);
    const int count = static_cast<int>(m_clients.size());
    int next = 0;
    // A front that holds no more connections leaves the last clients in the kernel's backlog:
    // once nothing has moved for a while, the rush goes ahead without them.
    int settled = -1;
    auto moved = begun;
    while (m_settled < count && Clock::now() < deadline && Clock::now() - moved < stalled) {
        for (; next < count && next - m_settled < window; ++next)
            send(next, scheduleForm(next), Ask::Schedule);
        poll(10);
        if (std::exchange(settled, m_settled) != m_settled)
            moved = Clock::now();
    }
    m_figures.setUpMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - begun).count();
    for (int i = 0; i < count; ++i) {
        if (m_clients[i].chosen.isEmpty()) {
            closeSocket(m_clients[i]);
            finish(i, Outcome::None);
        }
    }
}

void BenchRushClients::rush(const std::function<bool()> &release, int deadlineMs)
{
    QList<int> order;
    for (int i = 0; i < static_cast<int>(m_clients.size()); ++i)
        if (m_clients[i].outcome == Outcome::Pending && !m_clients[i].chosen.isEmpty())
            order.append(i);
    // Who presses first is chance, not the order of the accounts.
    std::shuffle(order.begin(), order.end(), m_random);
    m_settled = 0;
    const bool released = release();
    m_moment = Clock::now();
    m_afterMoment = true;
    if (!released)
        m_figures.errorSamples.append(u"the places were not released"_s);
    for (int index : std::as_const(order)) {
        m_clients[index].presses = 1;
        send(index, m_clients[index].chosen, Ask::Book);
    }
    while (m_settled < order.size() && sinceMoment() < deadlineMs * 1000LL)
        poll(5);
    for (int index : std::as_const(order)) {
        if (m_clients[index].outcome == Outcome::Pending) {
            closeSocket(m_clients[index]);
            finish(index, Outcome::None);
        }
    }
    m_figures.none =
        static_cast<int>(m_clients.size()) - m_figures.booked - m_figures.gone - m_figures.error;
}
