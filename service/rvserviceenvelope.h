// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "service/rvserviceoutcome.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>

// The wire form of an exchange, as the client writes it: the body "yhm=...&jym=...&bwnr=..."
// with nothing escaped, where the message is everything after the first "&bwnr="; the message
// is plain JSON or Triple-DES ciphertext in hexadecimal; the reply is the envelope with a
// head of outcome, message, date, time and code, enciphered under the request's key when the
// request was.
class RVServiceEnvelope final
{
public:
    struct Form {
        QString yhm;
        QString jym;
        QByteArray bwnr;
    };

    // nullopt when the body is not the three-field form.
    static std::optional<Form> parseForm(const QByteArray &body);
    // The message text: the bytes as UTF-8 when keyText is empty, else deciphered from hex
    // under that key. nullopt when it cannot be read.
    static std::optional<QString> openMessage(const QByteArray &bwnr, const QString &keyText);
    // The envelope object of a message text; nullopt when it is not a JSON object.
    static std::optional<QJsonObject> parseMessage(const QString &text);

    // The reply envelope as compact JSON, a head of outcome, message, date, time and code
    // beside the body; a body already written as JSON goes in as it is.
    static QByteArray replyJson(const RVServiceOutcome &outcome, const QString &code);
    // The reply, enciphered as lowercase hex when keyText is not empty.
    static QByteArray sealReply(const QByteArray &json, const QString &keyText);

private:
    static QByteArray headJson(const RVServiceOutcome &outcome, const QString &code);
    // True when JSON would escape a character of the text.
    static bool needsEscape(const QString &text);
};
