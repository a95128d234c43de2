// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

// What a transaction handler decides: success or refusal, the message for the reply head and
// the reply body. Handlers return it as a value; the router turns it into the reply envelope.
struct RVServiceOutcome {
    bool ok = false;
    QString retmsg;
    QJsonObject body;
    // The body already written as compact JSON (a list straight from its rows); when set it
    // stands instead of body.
    QByteArray bodyJson;

    static RVServiceOutcome success(const QString &message, const QJsonObject &body = {});
    static RVServiceOutcome success(const QString &message, const QByteArray &bodyJson);
    static RVServiceOutcome refusal(const QString &message);
    // The refusal of a request that lacks a required key.
    static RVServiceOutcome missing(const QString &key);
    // The refusal when the store itself fails: the user learns nothing of its inner workings.
    static RVServiceOutcome storeFailure();
};
