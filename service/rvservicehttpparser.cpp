// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicehttpparser.h"

#include <string_view>
#include <utility>

using namespace Qt::StringLiterals;

namespace
{
// The characters of a token (method, header name), as HTTP defines them.
bool isTokenChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
           (u != 0 && std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos);
}

bool isToken(QByteArrayView text)
{
    if (text.isEmpty())
        return false;
    for (const char c : text)
        if (!isTokenChar(c))
            return false;
    return true;
}

// Controls other than tab have no place in a header value or a request target.
bool hasControl(QByteArrayView text, bool allowTab)
{
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && !(allowTab && u == '\t')) || u == 0x7f)
            return true;
    }
    return false;
}

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

constexpr qsizetype maxChunkLine = 1024;
} // namespace

RVServiceHttpParser::RVServiceHttpParser(const RVServiceHttpLimits &limits) : m_limits(limits) {}

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

RVServiceHttpParser::Status RVServiceHttpParser::fail(int status, const char *text)
{
    m_state = State::Failed;
    m_errorStatus = status;
    m_errorText = text;
    m_buffer.clear();
    m_pos = 0;
    m_request = {};
    return Status::Failed;
}

bool RVServiceHttpParser::takeLine(QByteArray *line, qsizetype limit, bool *tooLong)
{
    *tooLong = false;
    const qsizetype end = m_buffer.indexOf('\n', m_pos);
    if (end < 0) {
        *tooLong = buffered() > limit;
        return false;
    }
    if (end + 1 - m_pos > limit) {
        *tooLong = true;
        return false;
    }
    qsizetype length = end - m_pos;
    if (length > 0 && m_buffer.at(end - 1) == '\r')
        --length;
    *line = m_buffer.mid(m_pos, length);
    m_pos = end + 1;
    return true;
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
    RVServiceHttpRequest request = std::move(m_request);
    m_request = {};
    m_state = State::Head;
    m_headLines.clear();
    m_headBytes = 0;
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
    bool tooLong = false;
    for (;;) {
        const qsizetype before = m_pos;
        if (!takeLine(&line, m_limits.maxHeadBytes - m_headBytes, &tooLong)) {
            compact();
            return tooLong ? fail(431, "request head too large\n") : Status::NeedMore;
        }
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

bool RVServiceHttpParser::parseRequestLine(const QByteArray &line)
{
    const QList<QByteArray> parts = line.split(' ');
    if (parts.size() != 3 || !isToken(parts.at(0)) || parts.at(0).size() > 32)
        return false;
    const QByteArray &target = parts.at(1);
    if (!target.startsWith('/') || hasControl(target, false))
        return false;
    m_request.method = parts.at(0);
    m_request.target = target;
    return true;
}

RVServiceHttpParser::Status RVServiceHttpParser::parseHead(const QList<QByteArray> &lines)
{
    if (!parseRequestLine(lines.first()))
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
        const QByteArray &line = lines.at(i);
        const qsizetype colon = line.indexOf(':');
        // A line folded onto the previous one is obsolete and a known smuggling vector.
        if (colon <= 0 || !isToken(QByteArrayView(line).first(colon)))
            return fail(400, "malformed header field\n");
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (hasControl(value, true))
            return fail(400, "malformed header field\n");
        m_request.headers.append({line.left(colon).toLower(), value});
    }
    return chooseFraming();
}

RVServiceHttpParser::Status RVServiceHttpParser::chooseFraming()
{
    QList<QByteArray> lengths;
    QList<QByteArray> codings;
    for (const auto &[name, value] : std::as_const(m_request.headers)) {
        QList<QByteArray> &into = name == "content-length" ? lengths : codings;
        if (name == "content-length" || name == "transfer-encoding")
            for (const QByteArray &element : value.split(','))
                into.append(element.trimmed().toLower());
    }
    if (!codings.isEmpty()) {
        // Both framings at once is how requests are smuggled past proxies: refuse.
        if (!lengths.isEmpty())
            return fail(400, "both Content-Length and Transfer-Encoding\n");
        if (codings.size() != 1 || codings.first() != "chunked")
            return fail(501, "unsupported transfer coding\n");
        m_state = State::ChunkSize;
        return Status::NeedMore;
    }
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
    // Refused by the declared size alone, before a byte of the body is read.
    bool ok = false;
    const qint64 declared = digits.size() <= 18 ? digits.toLongLong(&ok) : 0;
    if (!ok || declared > m_limits.maxBodyBytes)
        return fail(413, "request body too large\n");
    m_remaining = declared;
    m_request.body.reserve(declared);
    m_state = declared > 0 ? State::Length : State::Done;
    return declared > 0 ? Status::NeedMore : Status::Ready;
}

RVServiceHttpParser::Status RVServiceHttpParser::readLength()
{
    const qsizetype n = std::min<qint64>(m_remaining, buffered());
    m_request.body.append(QByteArrayView(m_buffer).sliced(m_pos, n));
    m_pos += n;
    m_remaining -= n;
    compact();
    if (m_remaining > 0)
        return Status::NeedMore;
    m_state = State::Done;
    return Status::Ready;
}

RVServiceHttpParser::Status RVServiceHttpParser::readChunks()
{
    QByteArray line;
    bool tooLong = false;
    for (;;) {
        switch (m_state) {
        case State::ChunkSize: {
            if (!takeLine(&line, maxChunkLine, &tooLong))
                return tooLong ? fail(400, "malformed chunk\n") : Status::NeedMore;
            const qsizetype ext = line.indexOf(';');
            const QByteArray hex = (ext < 0 ? line : line.left(ext)).trimmed();
            qint64 size = 0;
            for (const char c : hex) {
                const int digit = hexDigit(c);
                if (digit < 0)
                    return fail(400, "malformed chunk\n");
                size = size * 16 + digit;
                // Counted as it arrives: the total decoded body stays within the limit.
                if (size > m_limits.maxBodyBytes - m_request.body.size())
                    return fail(413, "request body too large\n");
            }
            if (hex.isEmpty())
                return fail(400, "malformed chunk\n");
            m_remaining = size;
            m_state = size > 0 ? State::ChunkData : State::Trailer;
            break;
        }
        case State::ChunkData: {
            const qsizetype n = std::min<qint64>(m_remaining, buffered());
            m_request.body.append(QByteArrayView(m_buffer).sliced(m_pos, n));
            m_pos += n;
            m_remaining -= n;
            compact();
            if (m_remaining > 0)
                return Status::NeedMore;
            m_state = State::ChunkEnd;
            break;
        }
        case State::ChunkEnd:
            if (!takeLine(&line, 2, &tooLong))
                return tooLong ? fail(400, "malformed chunk\n") : Status::NeedMore;
            if (!line.isEmpty())
                return fail(400, "malformed chunk\n");
            m_state = State::ChunkSize;
            break;
        case State::Trailer: {
            // Trailer fields count against the head's budget and are otherwise ignored.
            const qsizetype before = m_pos;
            if (!takeLine(&line, m_limits.maxHeadBytes - m_headBytes, &tooLong))
                return tooLong ? fail(431, "request head too large\n") : Status::NeedMore;
            m_headBytes += m_pos - before;
            if (line.isEmpty()) {
                m_state = State::Done;
                compact();
                return Status::Ready;
            }
            break;
        }
        default:
            return next();
        }
    }
}
