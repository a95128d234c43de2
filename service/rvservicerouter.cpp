// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicerouter.h"

#include "protocols/rvcipher.h"
#include "service/rvservicedatabase.h"
#include "service/rvserviceenvelope.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace
{
const QString sessionExpired = u"登录已失效，请重新登录"_s;

RVServiceRouter::Exchange httpError(int status, const QString &message)
{
    RVServiceRouter::Exchange exchange;
    exchange.status = status;
    exchange.contentType = "application/json; charset=utf-8";
    exchange.message = message;
    exchange.body = RVServiceEnvelope::replyJson(RVServiceOutcome::refusal(message), QString());
    return exchange;
}
} // namespace

RVServiceRouter::RVServiceRouter(RVServiceDatabase &database, qsizetype replyCacheBytes)
    : m_database(database),
      m_cache(replyCacheBytes > 0 ? std::make_unique<RVServiceReplyCache>(replyCacheBytes)
                                  : nullptr),
      m_accounts(database), m_catalogue(database), m_bookings(database)
{
}

bool RVServiceRouter::isKnownCode(const QString &code)
{
    static const QStringList codes{u"A001"_s, u"A002"_s, u"B001"_s, u"B002"_s, u"B003"_s, u"B004"_s,
                                   u"B005"_s, u"B006"_s, u"B007"_s, u"B008"_s, u"B009"_s, u"C001"_s,
                                   u"C002"_s, u"C003"_s, u"C004"_s, u"C005"_s, u"C006"_s};
    return codes.contains(code);
}

RVServiceRouter::Exchange RVServiceRouter::reply(Exchange exchange, const RVServiceOutcome &outcome,
                                                 const QString &keyText)
{
    exchange.ok = outcome.ok;
    exchange.message = outcome.retmsg;
    exchange.contentType =
        keyText.isEmpty() ? "application/json; charset=utf-8" : "text/plain; charset=us-ascii";
    exchange.body =
        RVServiceEnvelope::sealReply(RVServiceEnvelope::replyJson(outcome, exchange.code), keyText);
    return exchange;
}

RVServiceRouter::Exchange RVServiceRouter::handle(const QByteArray &requestBody,
                                                  const QString &photoBase)
{
    if (requestBody.size() > maxRequestBytes)
        return httpError(413, u"请求内容过大"_s);
    const auto form = RVServiceEnvelope::parseForm(requestBody);
    if (!form)
        return httpError(400, u"请求格式错误"_s);
    Exchange exchange;
    exchange.code = form->jym;
    exchange.user = form->yhm;
    if (!isKnownCode(form->jym))
        return reply(exchange, RVServiceOutcome::refusal(u"未知的交易码：%1"_s.arg(form->jym)), {});

    // Plain answers until the key is known to work: a client that cannot read the request's
    // key could not read the answer either.
    QString key;
    std::optional<RVServiceAccounts::Caller> caller;
    const QChar kind = form->jym.at(0);
    if (kind == u'A') {
        key = RVCipher::fixedKeyText();
    } else if (kind == u'C') {
        caller = m_accounts.caller(form->yhm);
        if (!caller)
            return reply(exchange, RVServiceOutcome::refusal(sessionExpired), {});
        key = caller->key;
    }
    const std::optional<QString> text = RVServiceEnvelope::openMessage(form->bwnr, key);
    if (!text) {
        const QString why = kind == u'C' ? sessionExpired : u"报文无法解读"_s;
        return reply(exchange, RVServiceOutcome::refusal(why), {});
    }
    const std::optional<QJsonObject> envelope = RVServiceEnvelope::parseMessage(*text);
    if (!envelope)
        return reply(exchange, RVServiceOutcome::refusal(u"报文格式错误"_s), key);
    const QJsonValue head = envelope->value(u"head"_s);
    const QJsonValue trcode = head.toObject().value(u"trcode"_s);
    if (head.isObject() && trcode.isString() && trcode.toString() != form->jym)
        return reply(exchange, RVServiceOutcome::refusal(u"交易码不一致"_s), key);
    const QJsonValue body = envelope->value(u"body"_s);
    if (!body.isObject())
        return reply(exchange, RVServiceOutcome::missing(u"body"_s), key);
    if (kind == u'B')
        return reply(exchange, query(form->jym, body.toObject(), photoBase), key);
    return reply(exchange,
                 dispatch(form->jym, body.toObject(), caller ? &*caller : nullptr, photoBase), key);
}

RVServiceOutcome RVServiceRouter::query(const QString &code, const QJsonObject &body,
                                        const QString &photoBase)
{
    if (!m_cache)
        return dispatch(code, body, nullptr, photoBase);
    const QByteArray key =
        RVServiceReplyCache::keyOf(code, body, photoBase, RVServiceCatalogue::windowStart());
    // Taken before the query runs: a commit that the query might miss changes the version
    // after this, so the answer kept under it is never given out once that commit is in.
    const QByteArray version = m_database.dataVersion();
    if (version.isEmpty())
        return dispatch(code, body, nullptr, photoBase);
    if (std::optional<RVServiceOutcome> kept = m_cache->find(key, version))
        return *std::move(kept);
    RVServiceOutcome outcome = dispatch(code, body, nullptr, photoBase);
    m_cache->insert(key, version, outcome);
    return outcome;
}

RVServiceOutcome RVServiceRouter::dispatch(const QString &code, const QJsonObject &body,
                                           const RVServiceAccounts::Caller *caller,
                                           const QString &photoBase)
{
    if (code == u"A001"_s)
        return m_accounts.registerUser(body);
    if (code == u"A002"_s)
        return m_accounts.login(body);
    if (code == u"B001"_s)
        return m_catalogue.hospitalList(body);
    if (code == u"B002"_s)
        return m_catalogue.hospitalInfo(body);
    if (code == u"B003"_s || code == u"B004"_s)
        return m_catalogue.departmentList(body);
    if (code == u"B005"_s)
        return m_catalogue.diseaseList();
    if (code == u"B006"_s)
        return m_catalogue.doctorList(body, photoBase);
    if (code == u"B007"_s)
        return m_catalogue.doctorInfo(body, photoBase);
    if (code == u"B008"_s)
        return m_catalogue.doctorSchedules(body);
    if (code == u"B009"_s)
        return m_catalogue.timeSlots(body);
    if (!caller) // every code below belongs to a logged-in user
        return RVServiceOutcome::refusal(sessionExpired);
    if (code == u"C001"_s)
        return m_bookings.book(*caller, body);
    if (code == u"C002"_s)
        return m_bookings.list(*caller, body);
    if (code == u"C003"_s)
        return m_accounts.logout(*caller);
    if (code == u"C004"_s)
        return m_accounts.modifyProfile(*caller, body);
    if (code == u"C005"_s)
        return m_bookings.cancel(*caller, body);
    if (code == u"C006"_s)
        return m_accounts.changePassword(*caller, body);
    return RVServiceOutcome::refusal(u"未知的交易码：%1"_s.arg(code));
}
