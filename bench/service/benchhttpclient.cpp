// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "benchhttpclient.h"

#include "protocols/rvhttpexchange.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include <QUrl>

namespace
{
constexpr qsizetype maxReply = 16 * 1024 * 1024;
} // namespace

BenchHttpClient::~BenchHttpClient()
{
    close();
}

void BenchHttpClient::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_pending.clear();
}

bool BenchHttpClient::connectSocket()
{
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(m_port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int one = 1;
    ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    timeval timeout{30, 0};
    ::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    if (::connect(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        close();
        return false;
    }
    return true;
}

bool BenchHttpClient::sendAll(const QByteArray &bytes)
{
    for (qsizetype sent = 0; sent < bytes.size();) {
        const ssize_t n = ::send(m_fd, bytes.constData() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

std::optional<QByteArray> BenchHttpClient::readReply()
{
    char buffer[64 * 1024];
    for (;;) {
        const qsizetype end = m_pending.indexOf("\r\n\r\n");
        if (end >= 0) {
            const qsizetype at = m_pending.indexOf("Content-Length: ");
            const qsizetype length =
                at >= 0 && at < end
                    ? m_pending.mid(at + 16, m_pending.indexOf('\r', at) - at - 16).toLongLong()
                    : 0;
            if (m_pending.size() >= end + 4 + length) {
                const int status = m_pending.mid(9, 3).toInt();
                const bool closing = m_pending.left(end).contains("Connection: close");
                QByteArray body = status == 200 ? m_pending.mid(end + 4, length) : QByteArray();
                m_pending.remove(0, end + 4 + length);
                if (closing)
                    close();
                return body;
            }
        }
        if (m_pending.size() > maxReply)
            return std::nullopt;
        const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return std::nullopt;
        m_pending.append(buffer, n);
    }
}

std::optional<QByteArray> BenchHttpClient::post(const QByteArray &form)
{
    if (!m_raw) {
        QUrl url(QStringLiteral("http://127.0.0.1/hrzp2/ComService"));
        url.setPort(m_port);
        const auto result = RVHttpExchange::postBlocking(url, form);
        return result.statusCode == 200 && !result.body.isEmpty()
                   ? std::optional<QByteArray>(result.body)
                   : std::nullopt;
    }
    QByteArray request("POST /hrzp2/ComService HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                       "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: ");
    request.append(QByteArray::number(form.size())).append("\r\n\r\n").append(form);
    // A kept-alive connection that the service closed while idle fails at once, before the
    // request was read: one fresh connection then.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const bool reused = m_fd >= 0;
        if (!reused && !connectSocket())
            return std::nullopt;
        if (sendAll(request)) {
            if (auto reply = readReply())
                return reply->isEmpty() ? std::nullopt : reply;
        }
        close();
        if (!reused)
            break;
    }
    return std::nullopt;
}
