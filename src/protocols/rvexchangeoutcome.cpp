// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvexchangeoutcome.h"

#include <QJsonDocument>

using namespace Qt::StringLiterals;

RVExchangeOutcome RVExchangeOutcome::fromReply(const QString &text)
{
    RVExchangeOutcome outcome;
    outcome.m_serviceText = text;
    outcome.m_envelope = RVBaseInfo::envelopeOf(text);
    if (!outcome.m_envelope) {
        outcome.m_kind = Kind::Unreadable;
        outcome.m_message = u"网络出错。"_s;
        return outcome;
    }
    const auto head = RVBaseInfo::fromObject<RVBaseInfo>(*outcome.m_envelope);
    outcome.m_kind = head.state() ? Kind::Answered : Kind::Refused;
    if (!head.errorMsg().isUndefined())
        outcome.m_message = RVBaseInfo::text(head.errorMsg());
    return outcome;
}

RVExchangeOutcome RVExchangeOutcome::noAnswer(const QString &message)
{
    return clientFailure(Kind::NoAnswer, message);
}

RVExchangeOutcome RVExchangeOutcome::notSent(const QString &message)
{
    return clientFailure(Kind::NotSent, message);
}

RVExchangeOutcome RVExchangeOutcome::clientFailure(Kind kind, const QString &message)
{
    RVExchangeOutcome outcome;
    outcome.m_kind = kind;
    outcome.m_message = message;
    outcome.m_envelope =
        QJsonObject{{u"head"_s, QJsonObject{{u"succflag"_s, u"-1"_s}, {u"retmsg"_s, message}}}};
    return outcome;
}

QString RVExchangeOutcome::text() const
{
    if (!m_serviceText.isNull() || !m_envelope)
        return m_serviceText;
    // Written by the JSON writer, so that a message with quotes still makes a readable reply.
    return QString::fromUtf8(QJsonDocument(*m_envelope).toJson(QJsonDocument::Compact));
}
