// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicerouter.h"

#include "protocols/rvcipher.h"
#include "protocols/rvservicerefusals.h"
#include "service/rvservicedatabase.h"
#include "service/rvserviceenvelope.h"

using namespace Qt::StringLiterals;

namespace
{
const QString sessionExpired = RVServiceRefusals::sessionExpired();

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
    return find(code) != nullptr;
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
        bool storeFailed = false;
        caller = m_accounts.caller(form->yhm, &storeFailed);
        if (storeFailed)
            return reply(exchange, RVServiceOutcome::storeFailure(), {});
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
    const Route *route = find(code);
    if (route == nullptr)
        return RVServiceOutcome::refusal(u"未知的交易码：%1"_s.arg(code));
    if (route->forUser && caller == nullptr)
        return RVServiceOutcome::refusal(sessionExpired);
    return route->run(*this, {body, caller, photoBase});
}

const RVServiceRouter::Route *RVServiceRouter::find(const QString &code)
{
    // Every transaction the service answers, once: its code, whether it belongs to a logged-in
    // user, and what runs it.
    static const Route routes[] = {
        {u"A001", false,
         [](auto &r, const auto &in) { return r.m_accounts.registerUser(in.body); }},
        {u"A002", false, [](auto &r, const auto &in) { return r.m_accounts.login(in.body); }},
        {u"B001", false,
         [](auto &r, const auto &in) { return r.m_catalogue.hospitalList(in.body); }},
        {u"B002", false,
         [](auto &r, const auto &in) { return r.m_catalogue.hospitalInfo(in.body); }},
        {u"B003", false,
         [](auto &r, const auto &in) { return r.m_catalogue.departmentList(in.body); }},
        {u"B004", false,
         [](auto &r, const auto &in) { return r.m_catalogue.departmentList(in.body); }},
        {u"B005", false, [](auto &r, const auto &) { return r.m_catalogue.diseaseList(); }},
        {u"B006", false,
         [](auto &r, const auto &in) { return r.m_catalogue.doctorList(in.body, in.photoBase); }},
        {u"B007", false,
         [](auto &r, const auto &in) { return r.m_catalogue.doctorInfo(in.body, in.photoBase); }},
        {u"B008", false,
         [](auto &r, const auto &in) { return r.m_catalogue.doctorSchedules(in.body); }},
        {u"B009", false, [](auto &r, const auto &in) { return r.m_catalogue.timeSlots(in.body); }},
        {u"C001", true,
         [](auto &r, const auto &in) { return r.m_bookings.book(*in.caller, in.body); }},
        {u"C002", true,
         [](auto &r, const auto &in) { return r.m_bookings.list(*in.caller, in.body); }},
        {u"C003", true, [](auto &r, const auto &in) { return r.m_accounts.logout(*in.caller); }},
        {u"C004", true,
         [](auto &r, const auto &in) { return r.m_accounts.modifyProfile(*in.caller, in.body); }},
        {u"C005", true,
         [](auto &r, const auto &in) { return r.m_bookings.cancel(*in.caller, in.body); }},
        {u"C006", true,
         [](auto &r, const auto &in) { return r.m_accounts.changePassword(*in.caller, in.body); }},
    };
    for (const Route &route : routes) {
        if (route.code == code)
            return &route;
    }
    return nullptr;
}
