// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvserviceenvelope.h"

#include "protocols/rvcipher.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QStringDecoder>

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

QJsonObject RVServiceEnvelope::replyEnvelope(const RVServiceOutcome &outcome, const QString &code)
{
    const QDateTime now = QDateTime::currentDateTime();
    QJsonObject head{{u"succflag"_s, outcome.ok ? u"0"_s : u"-1"_s},
                     {u"retmsg"_s, outcome.retmsg},
                     {u"trdate"_s, now.toString(u"yyyyMMdd"_s)},
                     {u"trtime"_s, now.toString(u"HHmmss"_s)}};
    if (!code.isEmpty())
        head.insert(u"trcode"_s, code);
    return QJsonObject{{u"head"_s, head}, {u"body"_s, outcome.body}};
}

QByteArray RVServiceEnvelope::replyJson(const RVServiceOutcome &outcome, const QString &code)
{
    const QJsonObject envelope = replyEnvelope(outcome, code);
    if (outcome.bodyJson.isEmpty())
        return QJsonDocument(envelope).toJson(QJsonDocument::Compact);
    const QJsonObject head = envelope.value(u"head"_s).toObject();
    return "{\"body\":" + outcome.bodyJson +
           ",\"head\":" + QJsonDocument(head).toJson(QJsonDocument::Compact) + '}';
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
