// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "service/rvservicehttpbodybudget.h"
#include "service/rvservicehttplimits.h"
#include "service/rvservicehttprequest.h"

#include <QByteArray>

#include <memory>

// Reads HTTP/1.1 requests from the bytes of one connection as they arrive, one after the
// other (persistent connections and pipelining). It owns the limits on what a request may
// make the service hold: the head is bounded, a declared body larger than the limit is
// refused as soon as the head ends, before any of it is read, and a body takes memory only
// as its bytes arrive, charged to a budget shared by all connections. Its framing is as
// strict as the protocol allows (see RVServiceHttpSyntax): whatever could make another
// reader see a different request is refused and ends the connection. A line ends in CR LF
// or in a bare LF, the same everywhere; a bare CR is refused wherever it stands. It never
// holds more than the current request. No sockets, no timers: the connection feeds it and
// keeps the clock, and the tests and the fuzzer drive it alone.
class RVServiceHttpParser final
{
public:
    enum class Status { NeedMore, Ready, Failed };
    enum class Stage { Idle, Head, Body };

    // Without a budget the bodies in progress are bounded by the body limit alone.
    explicit RVServiceHttpParser(const RVServiceHttpLimits &limits,
                                 std::shared_ptr<RVServiceHttpBodyBudget> budget = {});
    ~RVServiceHttpParser();
    Q_DISABLE_COPY_MOVE(RVServiceHttpParser)

    void append(QByteArrayView bytes);
    // Parses what has arrived. Ready: take() gives the request and the parser goes on with
    // the bytes after it. Failed: the request cannot be read; errorStatus() is the HTTP
    // status to refuse it with, and the connection must close (its framing is lost).
    Status next();
    RVServiceHttpRequest take();
    // Drops the request in progress for good, giving back what its body held: its
    // connection is being closed.
    void abandon();

    Stage stage() const;
    // The head is complete, announced "Expect: 100-continue" and no body byte is read yet.
    bool wantsContinue() const;
    void continueSent() { m_continueSent = true; }
    int errorStatus() const { return m_errorStatus; }
    QByteArray errorText() const { return m_errorText; }
    qsizetype buffered() const { return m_buffer.size() - m_pos; }
    // The memory held for the request in progress: what is buffered and the body so far.
    qsizetype held() const { return m_buffer.capacity() + m_request.body.capacity(); }

private:
    enum class State { Head, Length, ChunkSize, ChunkData, ChunkEnd, Trailer, Done, Failed };
    enum class Line { Taken, Partial, TooLong, BareCr };

    Status fail(int status, const char *text);
    // One line (CR LF or LF) from the buffer, without its end.
    Line takeLine(QByteArray *line, qsizetype limit);
    // What a line that could not be taken means: wait for more bytes, or refuse.
    Status lineNotTaken(Line taken, bool inHead);
    Status readHead();
    Status parseHead(const QList<QByteArray> &lines);
    bool parseRequestLine(const QByteArray &line, QByteArray *authority);
    bool settleHost(const QByteArray &authority);
    Status chooseFraming();
    Status chooseChunked(const QList<QByteArray> &codings, bool alsoLength);
    Status readLength();
    Status readChunks();
    bool takeChunkSize(const QByteArray &line);
    Status takeTrailer(const QByteArray &line);
    bool takeBody();
    void release();
    void compact();

    RVServiceHttpLimits m_limits;
    std::shared_ptr<RVServiceHttpBodyBudget> m_budget;
    qint64 m_charged = 0; // body bytes charged to the budget for the request in progress
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    State m_state = State::Head;
    QList<QByteArray> m_headLines;
    qsizetype m_headBytes = 0;
    int m_trailerCount = 0;
    qint64 m_remaining = 0; // of the declared length or of the current chunk
    bool m_continueSent = false;
    RVServiceHttpRequest m_request;
    int m_errorStatus = 0;
    QByteArray m_errorText;
};
