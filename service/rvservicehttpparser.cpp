// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicehttpparser.h"

#include "service/rvservicehttpsyntax.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace
{
bool allDigits(QByteArrayView text)
{
    if (text.isEmpty())
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The elements of a comma-separated field value in lower case, blanks around each removed.
QList<QByteArray> elements(const QByteArray &value)
{
    QList<QByteArray> list;
    for (const QByteArray &element : value.split(','))
        list.append(RVServiceHttpSyntax::trimBlanks(element).toByteArray().toLower());
    return list;
}

constexpr qsizetype maxChunkLine = 1024;
} // namespace

RVServiceHttpParser::RVServiceHttpParser(const RVServiceHttpLimits &limits,
                                         std::shared_ptr<RVServiceHttpBodyBudget> budget)
    : m_limits(limits), m_budget(std::move(budget))
{
}

RVServiceHttpParser::~RVServiceHttpParser()
{
    release();
}

void RVServiceHttpParser::append(QByteArrayView bytes)
{
    if (m_state != State::Failed)
        m_buffer.append(bytes);
}

RVServiceHttpParser::Stage RVServiceHttpParser::stage() const
{
    switch (m_state) {
    case State::Head:
        return m_headBytes == 0 && m_headLines.isEmpty() && buffered() == 0 ? Stage::Idle
                                                                            : Stage::Head;
    case State::Done:
    case State::Failed:
        return Stage::Idle;
    default:
        return Stage::Body;
    }
}

bool RVServiceHttpParser::wantsContinue() const
{
    return (m_state == State::Length || m_state == State::ChunkSize) && !m_continueSent &&
           m_request.body.isEmpty() && buffered() == 0 && m_request.minorVersion >= 1 &&
           m_request.headerHasToken("expect", "100-continue");
}

void RVServiceHttpParser::abandon()
{
    release();
    m_state = State::Failed;
    m_buffer.clear();
    m_pos = 0;
    m_request = {};
}

RVServiceHttpParser::Status RVServiceHttpParser::fail(int status, const char *text)
{
    abandon();
    m_errorStatus = status;
    m_errorText = text;
    return Status::Failed;
}

void RVServiceHttpParser::release()
{
    if (m_budget)
        m_budget->give(m_charged);
    m_charged = 0;
}

RVServiceHttpParser::Line RVServiceHttpParser::takeLine(QByteArray *line, qsizetype limit)
{
    const qsizetype end = m_buffer.indexOf('\n', m_pos);
    if (end < 0)
        return buffered() > limit ? Line::TooLong : Line::Partial;
    if (end + 1 - m_pos > limit)
        return Line::TooLong;
    qsizetype length = end - m_pos;
    if (length > 0 && m_buffer.at(end - 1) == '\r')
        --length;
    *line = m_buffer.mid(m_pos, length);
    m_pos = end + 1;
    // Some readers end a line at a lone CR and some do not: never guess which was meant.
    return line->contains('\r') ? Line::BareCr : Line::Taken;
}

RVServiceHttpParser::Status RVServiceHttpParser::lineNotTaken(Line taken, bool inHead)
{
    switch (taken) {
    case Line::Partial:
        compact();
        return Status::NeedMore;
    case Line::BareCr:
        return fail(400, "bare CR in a line\n");
    default:
        return inHead ? fail(431, "request head too large\n") : fail(400, "malformed chunk\n");
    }
}

RVServiceHttpParser::Status RVServiceHttpParser::next()
{
    switch (m_state) {
    case State::Failed:
        return Status::Failed;
    case State::Done:
        return Status::Ready;
    case State::Head:
        return readHead();
    case State::Length:
        return readLength();
    default:
        return readChunks();
    }
}

RVServiceHttpRequest RVServiceHttpParser::take()
{
    release(); // the body leaves with the request
    RVServiceHttpRequest request = std::move(m_request);
    m_request = {};
    m_state = State::Head;
    m_headLines.clear();
    m_headBytes = 0;
    m_trailerCount = 0;
    m_continueSent = false;
    compact();
    return request;
}

void RVServiceHttpParser::compact()
{
    if (m_pos == m_buffer.size()) {
        m_buffer.clear();
        m_pos = 0;
    } else if (m_pos >= 4096) {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
}

RVServiceHttpParser::Status RVServiceHttpParser::readHead()
{
    QByteArray line;
    for (;;) {
        const qsizetype before = m_pos;
        const Line taken = takeLine(&line, m_limits.maxHeadBytes - m_headBytes);
        if (taken != Line::Taken)
            return lineNotTaken(taken, true);
        m_headBytes += m_pos - before;
        if (line.isEmpty() && m_headLines.isEmpty())
            continue; // blank lines before a request are allowed and ignored
        if (line.isEmpty())
            break;
        m_headLines.append(line);
        if (m_headLines.size() > m_limits.maxHeaderCount + 1)
            return fail(431, "too many header fields\n");
    }
    const QList<QByteArray> lines = std::exchange(m_headLines, {});
    const Status parsed = parseHead(lines);
    compact();
    if (parsed == Status::Failed)
        return parsed;
    return next();
}

bool RVServiceHttpParser::parseRequestLine(const QByteArray &line, QByteArray *authority)
{
    const QList<QByteArray> parts = line.split(' ');
    if (parts.size() != 3 || !RVServiceHttpSyntax::isToken(parts.at(0)) || parts.at(0).size() > 32)
        return false;
    m_request.method = parts.at(0);
    m_request.target = parts.at(1);
    // The absolute form, as sent to a proxy, names the host in the target itself.
    return RVServiceHttpSyntax::isOriginForm(parts.at(1)) ||
           RVServiceHttpSyntax::splitAbsoluteForm(parts.at(1), authority, &m_request.target);
}

RVServiceHttpParser::Status RVServiceHttpParser::parseHead(const QList<QByteArray> &lines)
{
    QByteArray authority;
    if (!parseRequestLine(lines.first(), &authority))
        return fail(400, "malformed request line\n");
    const QByteArray version = lines.first().split(' ').at(2);
    if (version == "HTTP/1.1")
        m_request.minorVersion = 1;
    else if (version == "HTTP/1.0")
        m_request.minorVersion = 0;
    else if (version.startsWith("HTTP/") && version.size() == 8)
        return fail(505, "HTTP version not supported\n");
    else
        return fail(400, "malformed request line\n");
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QByteArray name;
        QByteArray value;
        if (!RVServiceHttpSyntax::splitField(lines.at(i), &name, &value))
            return fail(400, "malformed header field\n");
        m_request.headers.append({name, value});
    }
    if (!settleHost(authority))
        return fail(400, "missing, repeated or malformed Host\n");
    return chooseFraming();
}

// An HTTP/1.1 request names its host once: one naming it twice may be read for one host by
// a proxy and for another here. An absolute-form target's host stands instead of the field.
bool RVServiceHttpParser::settleHost(const QByteArray &authority)
{
    QByteArray *host = nullptr;
    for (auto &[name, value] : m_request.headers) {
        if (name != "host")
            continue;
        if (host || !RVServiceHttpSyntax::isAuthority(value))
            return false;
        host = &value;
    }
    if (!host && m_request.minorVersion >= 1)
        return false;
    if (!authority.isEmpty() && host)
        *host = authority;
    else if (!authority.isEmpty())
        m_request.headers.append({"host", authority});
    return true;
}

RVServiceHttpParser::Status RVServiceHttpParser::chooseFraming()
{
    QList<QByteArray> lengths;
    QList<QByteArray> codings;
    bool coded = false;
    for (const auto &[name, value] : std::as_const(m_request.headers)) {
        if (name == "content-length") {
            lengths += elements(value);
        } else if (name == "transfer-encoding") {
            coded = true;
            for (const QByteArray &coding : elements(value))
                if (!coding.isEmpty()) // empty list elements are allowed and mean nothing
                    codings.append(coding);
        }
    }
    if (coded)
        return chooseChunked(codings, !lengths.isEmpty());
    if (lengths.isEmpty()) {
        m_state = State::Done;
        return Status::Ready;
    }
    // Repeated lengths are allowed when they agree (leading zeros aside).
    const auto significant = [](const QByteArray &digits) {
        qsizetype zeros = 0;
        while (zeros + 1 < digits.size() && digits.at(zeros) == '0')
            ++zeros;
        return digits.mid(zeros);
    };
    const QByteArray digits = significant(lengths.first());
    for (const QByteArray &length : std::as_const(lengths))
        if (!allDigits(length) || significant(length) != digits)
            return fail(400, "malformed Content-Length\n");
    // Refused by the declared size alone, before a byte of the body is read; a size within
    // the limit reserves nothing, the body grows with what arrives.
    bool ok = false;
    const qint64 declared = digits.size() <= 18 ? digits.toLongLong(&ok) : 0;
    if (!ok || declared > m_limits.maxBodyBytes)
        return fail(413, "request body too large\n");
    m_remaining = declared;
    m_state = declared > 0 ? State::Length : State::Done;
    return declared > 0 ? Status::NeedMore : Status::Ready;
}

RVServiceHttpParser::Status RVServiceHttpParser::chooseChunked(const QList<QByteArray> &codings,
                                                               bool alsoLength)
{
    // Both framings at once is how requests are smuggled past proxies: refuse.
    if (alsoLength)
        return fail(400, "both Content-Length and Transfer-Encoding\n");
    // Unless chunked comes last, and once, where the body ends is anybody's guess.
    if (codings.isEmpty() || codings.last() != "chunked" || codings.count("chunked") > 1)
        return fail(400, "chunked is not the final transfer coding\n");
    if (codings.size() > 1)
        return fail(501, "unsupported transfer coding\n");
    m_state = State::ChunkSize;
    return Status::NeedMore;
}

RVServiceHttpParser::Status RVServiceHttpParser::readLength()
{
    if (!takeBody())
        return Status::Failed;
    if (m_remaining > 0)
        return Status::NeedMore;
    m_state = State::Done;
    return Status::Ready;
}

// Moves what has arrived of the current body or chunk into the body, charging the budget
// first. False when the budget is spent: the request is refused.
bool RVServiceHttpParser::takeBody()
{
    const qsizetype n = std::min<qint64>(m_remaining, buffered());
    if (n > 0 && m_budget && !m_budget->take(n)) {
        fail(503, "too many request bodies in progress, try again shortly\n");
        return false;
    }
    m_charged += n;
    m_request.body.append(QByteArrayView(m_buffer).sliced(m_pos, n));
    m_pos += n;
    m_remaining -= n;
    compact();
    return true;
}

RVServiceHttpParser::Status RVServiceHttpParser::readChunks()
{
    QByteArray line;
    for (;;) {
        switch (m_state) {
        case State::ChunkSize: {
            const Line taken = takeLine(&line, maxChunkLine);
            if (taken != Line::Taken)
                return lineNotTaken(taken, false);
            if (!takeChunkSize(line))
                return Status::Failed;
            break;
        }
        case State::ChunkData:
            if (!takeBody())
                return Status::Failed;
            if (m_remaining > 0)
                return Status::NeedMore;
            m_state = State::ChunkEnd;
            break;
        case State::ChunkEnd: {
            const Line taken = takeLine(&line, 2);
            if (taken != Line::Taken)
                return lineNotTaken(taken, false);
            if (!line.isEmpty())
                return fail(400, "malformed chunk\n");
            m_state = State::ChunkSize;
            break;
        }
        case State::Trailer: {
            // Trailer fields count against the head's budget.
            const qsizetype before = m_pos;
            const Line taken = takeLine(&line, m_limits.maxHeadBytes - m_headBytes);
            if (taken != Line::Taken)
                return lineNotTaken(taken, true);
            m_headBytes += m_pos - before;
            if (line.isEmpty()) {
                m_state = State::Done;
                compact();
                return Status::Ready;
            }
            if (takeTrailer(line) == Status::Failed)
                return Status::Failed;
            break;
        }
        default:
            return next();
        }
    }
}

// A chunk's line: its size in hex, then extensions or nothing (no blank before the size,
// none after it but before an extension). The size counts against the body limit as it is
// read, so that no number of digits can overflow it.
bool RVServiceHttpParser::takeChunkSize(const QByteArray &line)
{
    qsizetype digits = 0;
    qint64 size = 0;
    for (; digits < line.size() && hexDigit(line.at(digits)) >= 0; ++digits) {
        size = size * 16 + hexDigit(line.at(digits));
        if (size > m_limits.maxBodyBytes - m_request.body.size()) {
            fail(413, "request body too large\n");
            return false;
        }
    }
    if (digits == 0 ||
        !RVServiceHttpSyntax::isChunkExtensions(QByteArrayView(line).sliced(digits))) {
        fail(400, "malformed chunk\n");
        return false;
    }
    m_remaining = size;
    m_state = size > 0 ? State::ChunkData : State::Trailer;
    return true;
}

// A trailer field is read like a header field and then dropped: a request sent after a last
// chunk that lacks its blank line must not pass for trailer fields.
RVServiceHttpParser::Status RVServiceHttpParser::takeTrailer(const QByteArray &line)
{
    QByteArray name;
    QByteArray value;
    if (!RVServiceHttpSyntax::splitField(line, &name, &value))
        return fail(400, "malformed trailer field\n");
    if (m_request.headers.size() + ++m_trailerCount > m_limits.maxHeaderCount)
        return fail(431, "too many header fields\n");
    return Status::NeedMore;
}
