// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "service/rvservicehttplimits.h"
#include "service/rvservicehttprequest.h"

#include <QByteArray>

// Reads HTTP/1.1 requests from the bytes of one connection as they arrive, one after the
// other (persistent connections and pipelining). It owns the limits on what a request may
// make the service hold: the head is bounded, a declared body larger than the limit is
// refused as soon as the head ends, before any of it is read, and a chunked body is counted
// as it is decoded. It never holds more than the current request. No sockets, no timers:
// the connection feeds it and keeps the clock, and the tests and the fuzzer drive it alone.
class RVServiceHttpParser final
{
public:
    enum class Status { NeedMore, Ready, Failed };
    enum class Stage { Idle, Head, Body };

    explicit RVServiceHttpParser(const RVServiceHttpLimits &limits);

    void append(QByteArrayView bytes);
    // Parses what has arrived. Ready: take() gives the request and the parser goes on with
    // the bytes after it. Failed: the request cannot be read; errorStatus() is the HTTP
    // status to refuse it with, and the connection must close (its framing is lost).
    Status next();
    RVServiceHttpRequest take();

    Stage stage() const;
    // The head is complete, announced "Expect: 100-continue" and no body byte is read yet.
    bool wantsContinue() const;
    void continueSent() { m_continueSent = true; }
    int errorStatus() const { return m_errorStatus; }
    QByteArray errorText() const { return m_errorText; }
    qsizetype buffered() const { return m_buffer.size() - m_pos; }

private:
    enum class State { Head, Length, ChunkSize, ChunkData, ChunkEnd, Trailer, Done, Failed };

    Status fail(int status, const char *text);
    // One line (CR LF or LF) from the buffer, without its end; false when none is complete.
    bool takeLine(QByteArray *line, qsizetype limit, bool *tooLong);
    Status readHead();
    Status parseHead(const QList<QByteArray> &lines);
    bool parseRequestLine(const QByteArray &line);
    Status chooseFraming();
    Status readLength();
    Status readChunks();
    void compact();

    RVServiceHttpLimits m_limits;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    State m_state = State::Head;
    QList<QByteArray> m_headLines;
    qsizetype m_headBytes = 0;
    qint64 m_remaining = 0; // of the declared length or of the current chunk
    bool m_continueSent = false;
    RVServiceHttpRequest m_request;
    int m_errorStatus = 0;
    QByteArray m_errorText;
};
