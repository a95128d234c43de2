// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvserviceenvelope.h"

#include "protocols/rvcipher.h"
#include "service/rvserviceclock.h"

#include <QJsonDocument>
#include <QStringDecoder>

#include <algorithm>
#include <cctype>

using namespace Qt::StringLiterals;

std::optional<RVServiceEnvelope::Form> RVServiceEnvelope::parseForm(const QByteArray &body)
{
    static const QByteArray messageField = "&bwnr=";
    static const QByteArray codeField = "&jym=";
    static const QByteArray userField = "yhm=";
    const qsizetype message = body.indexOf(messageField);
    if (message < 0 || !body.startsWith(userField))
        return std::nullopt;
    const QByteArray head = body.left(message);
    const qsizetype code = head.lastIndexOf(codeField);
    if (code < userField.size())
        return std::nullopt;
    Form form;
    form.yhm = QString::fromUtf8(head.mid(userField.size(), code - userField.size()));
    form.jym = QString::fromUtf8(head.mid(code + codeField.size()));
    form.bwnr = body.mid(message + messageField.size());
    return form;
}

std::optional<QString> RVServiceEnvelope::openMessage(const QByteArray &bwnr,
                                                      const QString &keyText)
{
    if (keyText.isEmpty()) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = decoder(bwnr);
        if (decoder.hasError())
            return std::nullopt;
        return text;
    }
    const QByteArray hex = bwnr.trimmed();
    if (hex.isEmpty() || hex.size() % 2 != 0)
        return std::nullopt;
    for (const char c : hex)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    return RVCipher::decipherFromHex(QString::fromLatin1(hex), keyText);
}

std::optional<QJsonObject> RVServiceEnvelope::parseMessage(const QString &text)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

QByteArray RVServiceEnvelope::replyJson(const RVServiceOutcome &outcome, const QString &code)
{
    // Written as QJsonDocument writes the envelope {"body":...,"head":...} (keys in order,
    // compact), without building the envelope as an object first.
    const QByteArray body = outcome.bodyJson.isEmpty()
                                ? QJsonDocument(outcome.body).toJson(QJsonDocument::Compact)
                                : outcome.bodyJson;
    return "{\"body\":" + body + ",\"head\":" + headJson(outcome, code) + '}';
}

QByteArray RVServiceEnvelope::headJson(const RVServiceOutcome &outcome, const QString &code)
{
    const QString date = RVServiceClock::compactDate();
    const QString time = RVServiceClock::compactTime();
    if (!needsEscape(outcome.retmsg) && !needsEscape(code)) {
        QByteArray head = "{\"retmsg\":\"" + outcome.retmsg.toUtf8() + "\",\"succflag\":\"" +
                          (outcome.ok ? "0" : "-1") + '"';
        if (!code.isEmpty())
            head += ",\"trcode\":\"" + code.toUtf8() + '"';
        return head + ",\"trdate\":\"" + date.toLatin1() + "\",\"trtime\":\"" + time.toLatin1() +
               "\"}";
    }
    QJsonObject head{{u"succflag"_s, outcome.ok ? u"0"_s : u"-1"_s},
                     {u"retmsg"_s, outcome.retmsg},
                     {u"trdate"_s, date},
                     {u"trtime"_s, time}};
    if (!code.isEmpty())
        head.insert(u"trcode"_s, code);
    return QJsonDocument(head).toJson(QJsonDocument::Compact);
}

bool RVServiceEnvelope::needsEscape(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() < 0x20 || c == u'"' || c == u'\\' || c.isSurrogate();
    });
}

QByteArray RVServiceEnvelope::sealReply(const QByteArray &json, const QString &keyText)
{
    if (keyText.isEmpty())
        return json;
    const std::optional<QString> hex = RVCipher::encipherToHex(QString::fromUtf8(json), keyText);
    if (hex)
        return hex->toLatin1();
    // Never the reply itself in clear (it may hold a login key): a plain refusal instead.
    return replyJson(RVServiceOutcome::storeFailure(), QString());
}
