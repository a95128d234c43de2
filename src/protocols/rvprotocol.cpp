// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvprotocol.h"
#include "protocols/protocolslog.h"

#include "protocols/rvappconfiginfo.h"
#include "protocols/rvcipher.h"
#include "protocols/rvhttpexchange.h"
#include "protocols/rvloginrenewal.h"
#include "protocols/rvloginstate.h"
#include "protocols/rvloginvalues.h"
#include "protocols/rvlogmasking.h"
#include "protocols/rvserviceaddress.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QReadWriteLock>
#include <QStringDecoder>

#include <utility>

using namespace Qt::StringLiterals;
using platform::NotificationCenter;

namespace
{

// The build's default is checked when the build is configured, so it always parses.
QUrl defaultBase()
{
    QString error;
    return RVServiceAddress::parse(QStringLiteral(RV_SERVICE_URL), &error).value_or(QUrl());
}

struct Endpoint {
    QReadWriteLock lock;
    QUrl base = defaultBase();
};

Endpoint &endpoint()
{
    static Endpoint e;
    return e;
}

// A query changes nothing at the service, so it may be sent again once when the connection it
// went out on turns out to have been closed by the service; a registration, a login or a
// user's transaction never is: the service may have applied the first copy.
RVHttpExchange::Resend resendRuleFor(const QString &code)
{
    return code.startsWith(u'B') ? RVHttpExchange::Resend::OnceOnStaleConnection
                                 : RVHttpExchange::Resend::Never;
}

std::optional<QString> strictUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QStringView trimSpacesAndTabs(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin] == u' ' || text[begin] == u'\t'))
        ++begin;
    while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t'))
        --end;
    return text.sliced(begin, end - begin);
}

// Drops a reference on the main thread's next turn: a client must not be destroyed inside
// the signal of the exchange it owns.
void releaseLater(std::shared_ptr<RVProtocol> client)
{
    if (!client)
        return;
    if (auto *app = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            app, [keep = std::move(client)] {}, Qt::QueuedConnection);
}

} // namespace

RVProtocol::RVProtocol()
    : m_urlapi(serviceEndpoint().toString()),
      m_rand(QString::number(qint32(QRandomGenerator::system()->generate())))
{
}

RVProtocol::~RVProtocol()
{
    for (const auto &observer : std::as_const(m_observers))
        NotificationCenter::defaultCenter().removeObserver(observer.get());
}

std::shared_ptr<RVProtocol> RVProtocol::create()
{
    return std::make_shared<RVProtocol>();
}

void RVProtocol::setServiceEndpoint(const QUrl &base)
{
    QWriteLocker lock(&endpoint().lock);
    endpoint().base = base;
}

void RVProtocol::setServiceEndpoint(const QString &host, quint16 port)
{
    QUrl base;
    base.setScheme(u"http"_s);
    base.setHost(host);
    base.setPort(port);
    setServiceEndpoint(base);
}

QUrl RVProtocol::serviceEndpoint()
{
    QReadLocker lock(&endpoint().lock);
    QUrl url = endpoint().base;
    url.setPath(u"/hrzp2/ComService"_s);
    return url;
}

QString RVProtocol::serviceHost()
{
    QReadLocker lock(&endpoint().lock);
    return endpoint().base.host();
}

void RVProtocol::setNetworkLayer(RVNetworkLayer *layer)
{
    m_networkLayer = layer;
}

bool RVProtocol::isRunning() const
{
    return m_connection != nullptr && m_connection->isRunning();
}

RVProtocol *RVProtocol::fromNotification(const platform::Notification &notification)
{
    return const_cast<RVProtocol *>(static_cast<const RVProtocol *>(notification.object));
}

QString RVProtocol::successNotificationName() const
{
    return u"HTTPPOSTSUCCESS"_s + m_rand;
}

QString RVProtocol::failureNotificationName() const
{
    return u"HTTPPOSTERROR"_s + m_rand;
}

void RVProtocol::addObserver(const std::shared_ptr<RVAsyncObserver> &observer)
{
    if (!observer)
        return;
    m_observers.append(observer);
    RVAsyncObserver *raw = observer.get();
    auto &center = NotificationCenter::defaultCenter();
    center.addObserver(raw, successNotificationName(), nullptr,
                       [raw](const platform::Notification &n) { raw->httpAsyncSuccess(n); });
    center.addObserver(raw, failureNotificationName(), nullptr,
                       [raw](const platform::Notification &n) { raw->httpAsyncFailure(n); });
}

void RVProtocol::postHTTPSuccessNoifiction()
{
    NotificationCenter::defaultCenter().postNotificationName(successNotificationName(), this);
}

void RVProtocol::postHTTPFailureNotification()
{
    NotificationCenter::defaultCenter().postNotificationName(failureNotificationName(), this);
}

QJsonObject RVProtocol::headBuild(const QString &code)
{
    const QDateTime now = QDateTime::currentDateTime();
    return {{u"trdate"_s, now.toString(u"yyyyMMdd"_s)},
            {u"trtime"_s, now.toString(u"HHmmss"_s)},
            {u"trcode"_s, code}};
}

void RVProtocol::replyDataHandle(const QString &code, const QString &reply)
{
    handle(code, RVExchangeOutcome::fromReply(reply));
}

void RVProtocol::handle(const QString &code, RVExchangeOutcome outcome)
{
    m_outcome = std::move(outcome);
    if (code == u"A001" || code == u"A002")
        loginReplyHandle();
}

void RVProtocol::loginReplyHandle()
{
    const RVLoginState::Outcome outcome = loginOutcome();
    const quint64 ticket = std::exchange(m_loginTicket, 0);
    if (m_renewing && outcome != RVLoginState::Outcome::Accepted)
        return;
    const RVUserInfo user =
        m_outcome.succeeded() ? m_outcome.reply<RVUserInfo>().value_or(RVUserInfo()) : RVUserInfo();
    RVLoginState::applyOutcome(ticket, outcome, user, m_currentPassword);
}

RVLoginState::Outcome RVProtocol::loginOutcome() const
{
    if (m_outcome.succeeded())
        return RVLoginState::Outcome::Accepted;
    // Only the service's word that the name or password is wrong forgets a saved login. Without
    // an answer (no connection, a time-out, an HTTP error, an unreadable text), or refused for
    // another reason (its store unavailable for a moment), the credentials were never found
    // wrong, and forgetting them would log the user out over an outage. The reply carries no
    // code for the reason, so a login's refusal is told by the service's text. A registration's
    // refusal is the service's answer about the new name, whatever it says.
    if (!m_isHTTPResponseOK || m_outcome.kind() != RVExchangeOutcome::Kind::Refused)
        return RVLoginState::Outcome::Unanswered;
    if (m_typeCode == u"A001" || m_outcome.message() == RVLoginRenewal::refusedLoginMessage())
        return RVLoginState::Outcome::Refused;
    return RVLoginState::Outcome::Unanswered;
}

QString RVProtocol::cipherText(const QString &text, int encryptOrDecrypt, const QString &key)
{
    if (encryptOrDecrypt == 0)
        return RVCipher::encipherToHex(text, key).value_or(QString(u""_s));
    return RVCipher::decipherFromHex(text, key).value_or(QString());
}

QString RVProtocol::TripleDES(const QString &text, int encryptOrDecrypt) const
{
    const QString key =
        m_typeCode.startsWith(u'C') ? RVLoginValues::dynamicKey() : RVCipher::fixedKeyText();
    return cipherText(text, encryptOrDecrypt, key);
}

QString RVProtocol::post(const QString &yhm, const QString &code, const QString &body, bool async)
{
    const QString key =
        code.startsWith(u'C') ? RVLoginValues::dynamicKey() : RVCipher::fixedKeyText();
    const RVExchangeOutcome &outcome = postWithKey(yhm, code, body, async, key);
    return async ? QString() : outcome.text();
}

const RVExchangeOutcome &RVProtocol::send(const QString &code, const QString &accountName,
                                          const QString &requestText, bool async)
{
    // One read of the shared pair: the name in the form and the key of the message always
    // belong to the same login, whatever other threads do meanwhile.
    const RVLoginValues::Pair login = RVLoginValues::current();
    const bool isAccount = code.startsWith(u'A');
    const QString yhm = isAccount ? accountName : login.username;
    const QString key = code.startsWith(u'C') ? login.dynamicKey : RVCipher::fixedKeyText();
    const RVExchangeOutcome &outcome = postWithKey(yhm, code, requestText, async, key);
    if (async || !keyRefused(code))
        return outcome;
    QString failure;
    if (!RVLoginRenewal::renew(login, m_networkLayer, &failure)) {
        // The login stays through an outage: the transaction fails with the outage's reason,
        // not with a request to log in again.
        if (!failure.isEmpty())
            m_outcome = RVExchangeOutcome::notSent(failure);
        return m_outcome;
    }
    // Not applied by the service, so safe to send again; once only, whatever the answer.
    const RVLoginValues::Pair renewed = RVLoginValues::current();
    return postWithKey(renewed.username, code, requestText, false, renewed.dynamicKey);
}

bool RVProtocol::keyRefused(const QString &code) const
{
    // The logout's own refusal needs no new login: the session it ends is already gone.
    return code.startsWith(u'C') && code != u"C003" &&
           m_outcome.kind() == RVExchangeOutcome::Kind::Refused &&
           m_outcome.message() == RVLoginRenewal::refusedKeyMessage();
}

const RVExchangeOutcome &RVProtocol::postWithKey(const QString &yhm, const QString &code,
                                                 const QString &body, bool async,
                                                 const QString &key)
{
    if (code.startsWith(u'C') && !RVCipher::isUsableKey(key))
        return failWithoutSending(code, QCoreApplication::translate("RVProtocol", "请先登录"),
                                  async);
    const QString message = code.startsWith(u'B') ? body : cipherText(body, 0, key);
    const QString form =
        u"yhm="_s + (yhm.isNull() ? u"(null)"_s : yhm) + u"&jym="_s + code + u"&bwnr="_s + message;
    // The name shortened and the message masked: an 'A' message is enciphered under the key
    // every client carries, so its ciphertext is as good as the password in clear.
    qCDebug(lcProtocol).noquote() << u"post: yhm=%1&jym=%2&bwnr=%3"_s.arg(
        yhm.isNull() ? u"(null)"_s : RVLogMasking::loginName(yhm), code,
        code.startsWith(u'B') ? RVLogMasking::masked(message)
                              : u"(%1 hex digits)"_s.arg(message.size()));
    if (async) {
        startAsync(form.toUtf8(), key, resendRuleFor(code));
        return m_outcome;
    }
    const RVHttpExchange::Result result = RVHttpExchange::postBlocking(
        QUrl(m_urlapi), form.toUtf8(), resendRuleFor(code), m_networkLayer);
    qCDebug(lcProtocol).noquote() << u"sync response info:%1 %2 %3"_s.arg(result.headers)
                                         .arg(result.statusCode)
                                         .arg(result.transportError ? result.errorDetail
                                                                    : u"(null)"_s);
    m_isHTTPResponseOK = !result.transportError && result.statusCode / 100 == 2;
    if (m_isHTTPResponseOK) {
        const QString reply = readSyncReply(result.body, code, key);
        qCDebug(lcProtocol).noquote() << u"post result "_s + RVLogMasking::masked(reply);
        handle(code, RVExchangeOutcome::fromReply(reply));
    } else {
        handle(code,
               RVExchangeOutcome::noAnswer(
                   result.transportError ? result.errorDescription
                                         : QCoreApplication::translate("RVProtocol", "网络错误")));
    }
    return m_outcome;
}

QString RVProtocol::readSyncReply(const QByteArray &bytes, const QString &code, const QString &key)
{
    const std::optional<QString> text = strictUtf8(bytes);
    if (code.startsWith(u'B'))
        return text.value_or(QString());
    if (text && trimSpacesAndTabs(*text).startsWith(u'{'))
        return *text; // the service answered in plain JSON
    const QString hex = text.value_or(QString::fromLatin1(bytes));
    qCDebug(lcProtocol).noquote() << u"rece (%1 hex digits)"_s.arg(hex.size());
    return cipherText(hex, 1, key);
}

const RVExchangeOutcome &RVProtocol::failWithoutSending(const QString &code, const QString &message,
                                                        bool async)
{
    qCWarning(lcProtocol).noquote() << code << u"not sent:"_s << message;
    if (async) {
        m_outcome = RVExchangeOutcome::notSent(message);
        postHTTPFailureNotification();
        return m_outcome;
    }
    m_isHTTPResponseOK = false;
    handle(code, RVExchangeOutcome::notSent(message));
    return m_outcome;
}

void RVProtocol::startAsync(const QByteArray &form, const QString &key,
                            RVHttpExchange::Resend resend)
{
    if (isRunning()) {
        qCDebug(lcProtocol) << "have a http post is runing...";
        postHTTPFailureNotification();
        return;
    }
    if (m_connection == nullptr) {
        m_connection = new RVHttpExchange(this);
        connect(m_connection, &RVHttpExchange::responseReceived, this,
                &RVProtocol::onAsyncResponse);
        connect(m_connection, &RVHttpExchange::dataReceived, this,
                [this](const QByteArray &bytes) { m_receiveData.append(bytes); });
        connect(m_connection, &RVHttpExchange::finished, this, &RVProtocol::onAsyncFinished);
        connect(m_connection, &RVHttpExchange::failed, this, &RVProtocol::onAsyncFailed);
    }
    m_exchangeKey = key;
    m_receiveData.clear();
    m_connection->setNetworkLayer(m_networkLayer);
    m_connection->start(QUrl(m_urlapi), form, resend);
    m_keepAlive = weak_from_this().lock();
}

QString RVProtocol::getAsyncResult() const
{
    const QString text = strictUtf8(m_receiveData).value_or(QString());
    if (m_typeCode.startsWith(u'B'))
        return text;
    const QString key =
        m_exchangeKey.isNull()
            ? (m_typeCode.startsWith(u'C') ? RVLoginValues::dynamicKey() : RVCipher::fixedKeyText())
            : m_exchangeKey;
    return cipherText(text, 1, key);
}

void RVProtocol::cancel()
{
    if (!isRunning())
        return;
    m_connection->cancel();
    releaseLater(std::move(m_keepAlive));
}

void RVProtocol::onAsyncResponse(int statusCode, const QString &headers)
{
    qCDebug(lcProtocol).noquote() << headers;
    m_isHTTPResponseOK = statusCode / 100 == 2;
    m_receiveData.clear();
}

void RVProtocol::onAsyncFinished()
{
    const QString reply = getAsyncResult();
    qCDebug(lcProtocol).noquote() << u"async post result "_s + RVLogMasking::masked(reply);
    handle(m_typeCode, RVExchangeOutcome::fromReply(reply));
    // Idle before observers hear of it, so that one of them may start the next exchange.
    auto keep = std::move(m_keepAlive);
    if (m_isHTTPResponseOK)
        postHTTPSuccessNoifiction();
    else
        postHTTPFailureNotification();
    releaseLater(std::move(keep));
}

void RVProtocol::onAsyncFailed(const QString &description, const QString &detail)
{
    qCDebug(lcProtocol).noquote() << detail;
    m_lastTransportFailure = description;
    m_typeCode = QString();
    auto keep = std::move(m_keepAlive);
    postHTTPFailureNotification();
    releaseLater(std::move(keep));
}
