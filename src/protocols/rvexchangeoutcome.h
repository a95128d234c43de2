// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvbaseinfo.h"

#include <QJsonObject>
#include <QString>

#include <optional>

// What became of one transaction, as a value: the service answered it (accepted, or refused
// with its message), no answer came (the transport failed or the HTTP status was not a
// success: the message says why), what came back could not be read, or the client sent
// nothing. The reply envelope is parsed once, here, and every record is read from it. The
// client's lastRepuestStats and lastErrorMsg are read from its last outcome; a caller that
// must know whether a change may have been applied unheard asks answerLost(), never a text.
class RVExchangeOutcome final
{
public:
    enum class Kind {
        NotSent,    // nothing went out: no transaction yet, or the client would not send it
        Answered,   // the service's reply says success
        Refused,    // the service's reply says failure
        NoAnswer,   // no usable HTTP answer
        Unreadable, // a reply that is no JSON object, as one that did not decipher
    };

    RVExchangeOutcome() = default;
    // A reply text as it came from the service (deciphered); null when there was none.
    static RVExchangeOutcome fromReply(const QString &text);
    // The transport gave no usable answer; the message tells the user why.
    static RVExchangeOutcome noAnswer(const QString &message);
    // The client refused to send the transaction; the message tells the user why.
    static RVExchangeOutcome notSent(const QString &message);

    Kind kind() const { return m_kind; }
    bool succeeded() const { return m_kind == Kind::Answered; }
    // The service's message, the client's own for a failure, or null.
    const QString &message() const { return m_message; }
    // True when the transaction may have reached the service without its answer reaching
    // the client: a change then has to be looked up, never assumed nor sent again.
    bool answerLost() const { return m_kind == Kind::NoAnswer || m_kind == Kind::Unreadable; }

    // The reply record; none when no reply could be read. Without an answer the record is
    // that of the failure reply the client makes in its place (a failed head, no body).
    template <class Reply> std::optional<Reply> reply() const
    {
        if (!m_envelope)
            return std::nullopt;
        return RVBaseInfo::fromObject<Reply>(*m_envelope);
    }
    // The reply text: the service's as it came, or the failure reply made in its place.
    QString text() const;

private:
    static RVExchangeOutcome clientFailure(Kind kind, const QString &message);

    Kind m_kind = Kind::NotSent;
    QString m_message;
    std::optional<QJsonObject> m_envelope;
    QString m_serviceText; // null when the client made the reply
};
