// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvstorelookup.h"

#include "protocols/rvhttpexchange.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

RVStoreLookup::RVStoreLookup(QObject *parent) : QObject(parent) {}

RVStoreLookup::~RVStoreLookup() = default;

void RVStoreLookup::setNetworkLayer(RVNetworkLayer *layer)
{
    m_layer = layer;
}

void RVStoreLookup::ask(const QUrl &lookupUrl)
{
    // The lookup carries its parameters in the query; the empty body is still a form.
    m_lookups.run(
        [lookupUrl, layer = m_layer] {
            const RVHttpExchange::Result result = RVHttpExchange::postBlocking(
                lookupUrl, QByteArray(), RVHttpExchange::Resend::Never, layer);
            return result.transportError ? QByteArray() : result.body;
        },
        [this](const QByteArray &answer) { Q_EMIT finished(answer); });
}

bool RVStoreLookup::offersUpdate(const QByteArray &answer, const QString &version)
{
    const QJsonArray results =
        QJsonDocument::fromJson(answer).object().value(u"results"_s).toArray();
    return !results.isEmpty() &&
           results.first().toObject().value(u"version"_s).toString() != version;
}
