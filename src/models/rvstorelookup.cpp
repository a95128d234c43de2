// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvstorelookup.h"

#include "protocols/rvhttpexchange.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <utility>

using namespace Qt::StringLiterals;

RVStoreLookup::RVStoreLookup(QObject *parent)
    : QObject(parent), m_exchange(new RVHttpExchange(this))
{
    connect(m_exchange, &RVHttpExchange::responseReceived, this, [this] { m_body.clear(); });
    connect(m_exchange, &RVHttpExchange::dataReceived, this,
            [this](const QByteArray &bytes) { m_body += bytes; });
    connect(m_exchange, &RVHttpExchange::finished, this,
            [this] { Q_EMIT finished(std::exchange(m_body, {})); });
    connect(m_exchange, &RVHttpExchange::failed, this, [this] {
        m_body.clear();
        Q_EMIT finished({});
    });
}

RVStoreLookup::~RVStoreLookup() = default;

void RVStoreLookup::setNetworkLayer(RVNetworkLayer *layer)
{
    m_exchange->setNetworkLayer(layer);
}

void RVStoreLookup::ask(const QUrl &lookupUrl)
{
    // The lookup carries its parameters in the query; the empty body is still a form.
    m_exchange->start(lookupUrl, QByteArray());
}

bool RVStoreLookup::offersUpdate(const QByteArray &answer, const QString &version)
{
    const QJsonArray results =
        QJsonDocument::fromJson(answer).object().value(u"results"_s).toArray();
    return !results.isEmpty() &&
           results.first().toObject().value(u"version"_s).toString() != version;
}
