// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicehttpconnection.h"

#include "service/rvservicelog.h"
#include "service/rvservicetls.h"

#include <QTcpSocket>

#include <algorithm>
#include <exception>
#include <utility>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif

using namespace Qt::StringLiterals;

namespace
{
// Bytes taken from the socket at a time; also the size of its own read buffer, so that a
// client sending faster than the service reads is held back by TCP rather than by memory.
constexpr qint64 readChunk = 64 * 1024;

RVServiceHttpResponse respond(const RVServiceHttpConnection::Handler &handler,
                              const RVServiceHttpRequest &request)
{
    try {
        return handler(request);
    } catch (const std::exception &e) {
        qCWarning(lcService).noquote() << u"500 handler failed:"_s << QString::fromUtf8(e.what());
        return RVServiceHttpResponse::text(500, "internal error\n");
    }
}
} // namespace

RVServiceHttpConnection::RVServiceHttpConnection(qintptr descriptor,
                                                 const RVServiceHttpLimits &limits,
                                                 std::shared_ptr<RVServiceHttpBodyBudget> budget,
                                                 Handler handler, const QSslConfiguration *tls,
                                                 QObject *parent)
    : QObject(parent), m_socket(RVServiceTls::socketFor(tls, this)), m_limits(limits),
      m_parser(limits, std::move(budget)), m_handler(std::move(handler))
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &RVServiceHttpConnection::onDeadline);
    connect(m_socket, &QTcpSocket::readyRead, this, &RVServiceHttpConnection::onReadyRead);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &RVServiceHttpConnection::onBytesWritten);
    connect(m_socket, &QTcpSocket::disconnected, this, &RVServiceHttpConnection::onDisconnected);
    if (!m_socket->setSocketDescriptor(descriptor)) {
        qCWarning(lcService).noquote() << u"cannot take a connection:"_s << m_socket->errorString();
        m_phase = Phase::Closed;
        QMetaObject::invokeMethod(this, &RVServiceHttpConnection::onDisconnected,
                                  Qt::QueuedConnection);
        return;
    }
    m_socket->setReadBufferSize(readChunk);
    RVServiceTls::startHandshake(m_socket);
    // A new connection that says nothing (or does not finish its handshake) is a head that
    // does not arrive.
    enter(Phase::Head, m_limits.headTimeoutMs);
}

RVServiceHttpConnection::~RVServiceHttpConnection()
{
    m_socket->disconnect(this); // closing the socket must not call back into a dying object
}

bool RVServiceHttpConnection::isOpen() const
{
    return m_phase != Phase::Closed;
}

void RVServiceHttpConnection::refuseAtOnce(int status, const QByteArray &text)
{
    if (m_phase != Phase::Closed)
        refuse(status, text);
}

// A reply written at once may already have moved the connection on to Lingering, so every
// phase past the last reply counts.
bool RVServiceHttpConnection::ending() const
{
    return m_phase == Phase::Closing || m_phase == Phase::Lingering || m_phase == Phase::Closed;
}

void RVServiceHttpConnection::enter(Phase phase, int timeoutMs)
{
    if (m_phase == phase && m_deadline.isActive())
        return;
    m_phase = phase;
    m_deadline.start(std::max(1, timeoutMs));
}

void RVServiceHttpConnection::onReadyRead()
{
    if (m_phase == Phase::Closing || m_phase == Phase::Lingering)
        discardInput();
    else if (m_phase != Phase::Closed)
        process();
}

void RVServiceHttpConnection::process()
{
    // Once a reply has ended the connection, what the peer sent behind that request is never
    // run: its answer could not be delivered, so nobody would learn what it did.
    if (ending())
        return;
    for (;;) {
        // A client that sends requests but does not read the replies is not given more.
        if (m_answering || m_socket->bytesToWrite() > m_limits.maxPendingOutput)
            return;
        switch (m_parser.next()) {
        case RVServiceHttpParser::Status::Ready:
            answer(m_parser.take());
            if (ending() || m_answering)
                return;
            m_deadline.stop(); // the next request has a deadline of its own
            follow(m_parser.stage());
            break;
        case RVServiceHttpParser::Status::Failed:
            qCInfo(lcService).noquote()
                << u"%1 %2"_s.arg(m_parser.errorStatus())
                       .arg(QString::fromLatin1(m_parser.errorText()).trimmed());
            refuse(m_parser.errorStatus(), m_parser.errorText());
            return;
        case RVServiceHttpParser::Status::NeedMore:
            if (m_socket->bytesAvailable() > 0) {
                m_parser.append(m_socket->read(readChunk));
                break;
            }
            follow(m_parser.stage());
            if (m_parser.wantsContinue()) {
                m_socket->write("HTTP/1.1 100 Continue\r\n\r\n");
                m_parser.continueSent();
            }
            return;
        }
    }
}

void RVServiceHttpConnection::answer(const RVServiceHttpRequest &request)
{
    if (!m_executor) {
        send(request.keepAlive(), request.isHead(), respond(m_handler, request));
        return;
    }
    // This object outlives the work: finished() waits for the answer (see onDisconnected).
    m_answering = true;
    m_deadline.stop();
    m_executor([this, handler = m_handler, request] {
        const RVServiceHttpResponse response = respond(handler, request);
        QMetaObject::invokeMethod(
            this,
            [this, keepAlive = request.keepAlive(), head = request.isHead(), response] {
                onAnswered(keepAlive, head, response);
            },
            Qt::QueuedConnection);
    });
}

void RVServiceHttpConnection::onAnswered(bool keepAlive, bool head,
                                         const RVServiceHttpResponse &response)
{
    m_answering = false;
    if (m_phase == Phase::Closed) { // the peer left while the handler ran
        if (!std::exchange(m_finished, true))
            Q_EMIT finished();
        return;
    }
    send(keepAlive, head, response);
    if (ending())
        return;
    follow(m_parser.stage());
    process(); // requests that arrived meanwhile
}

void RVServiceHttpConnection::send(bool keepAlive, bool head, const RVServiceHttpResponse &response)
{
    m_socket->write(response.serialized(keepAlive, head));
    if (!keepAlive) {
        // Nothing behind this request is ever read, and a body already arriving behind it
        // gives its share of the budget back now.
        m_parser.abandon();
        closeAfterWrite();
    }
}

// The deadline follows the request: it starts when a head begins, again when the body
// begins, and again when the connection falls idle after a reply.
void RVServiceHttpConnection::follow(RVServiceHttpParser::Stage stage)
{
    switch (stage) {
    case RVServiceHttpParser::Stage::Idle:
        enter(Phase::Idle, m_limits.idleTimeoutMs);
        break;
    case RVServiceHttpParser::Stage::Head:
        enter(Phase::Head, m_limits.headTimeoutMs);
        break;
    case RVServiceHttpParser::Stage::Body:
        enter(Phase::Body, m_limits.bodyTimeoutMs);
        break;
    }
}

void RVServiceHttpConnection::onDeadline()
{
    switch (m_phase) {
    case Phase::Head:
        if (RVServiceTls::handshakeUnfinished(m_socket)) { // nothing can carry a 408 yet
            qCInfo(lcService).noquote()
                << u"TLS handshake not complete in time, connection closed"_s;
            m_socket->abort();
            break;
        }
        [[fallthrough]];
    case Phase::Body:
        qCInfo(lcService).noquote() << u"408 request not complete in time, connection closed"_s;
        refuse(408, "request not complete in time\n");
        break;
    case Phase::Idle:
        m_phase = Phase::Closing;
        m_socket->disconnectFromHost();
        if (m_socket->state() != QAbstractSocket::UnconnectedState)
            m_deadline.start(std::max(1, m_limits.lingerMs));
        break;
    case Phase::Closing:
    case Phase::Lingering:
        m_socket->abort();
        break;
    case Phase::Closed:
        break;
    }
}

void RVServiceHttpConnection::refuse(int status, const QByteArray &text)
{
    m_parser.abandon(); // a body cut short gives its share back now, not when the socket goes
    m_socket->write(RVServiceHttpResponse::text(status, text).serialized(false));
    closeAfterWrite();
}

void RVServiceHttpConnection::closeAfterWrite()
{
    m_phase = Phase::Closing;
    m_deadline.start(std::max(1, m_limits.writeTimeoutMs));
    m_socket->flush();
    if (m_socket->bytesToWrite() == 0)
        beginLinger();
}

void RVServiceHttpConnection::onBytesWritten()
{
    if (m_phase == Phase::Closing && m_socket->bytesToWrite() == 0)
        beginLinger();
    else if (m_phase != Phase::Closing && m_phase != Phase::Lingering && m_phase != Phase::Closed &&
             m_socket->bytesToWrite() <= m_limits.maxPendingOutput)
        process(); // requests held back while the replies waited
}

// The reply is out: say so to the peer by closing our sending side, read and drop whatever
// it still sends (a refused body, say) until it closes too or the linger runs out.
void RVServiceHttpConnection::beginLinger()
{
    m_phase = Phase::Lingering;
    // Over TLS the close is a record of its own, sent after the queued reply, which the write
    // deadline bounds.
    const bool tls = RVServiceTls::isTls(m_socket);
    m_deadline.start(std::max(1, tls ? m_limits.writeTimeoutMs : m_limits.lingerMs));
#ifdef Q_OS_UNIX
    if (!tls && m_socket->socketDescriptor() >= 0)
        ::shutdown(static_cast<int>(m_socket->socketDescriptor()), SHUT_WR);
    else
#endif
        m_socket->disconnectFromHost();
    discardInput();
}

void RVServiceHttpConnection::discardInput()
{
    while (m_socket->bytesAvailable() > 0)
        m_socket->skip(m_socket->bytesAvailable());
}

void RVServiceHttpConnection::onDisconnected()
{
    m_phase = Phase::Closed;
    m_deadline.stop();
    if (!m_answering && !std::exchange(m_finished, true))
        Q_EMIT finished();
}
