// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvstorelookup.h"

#include "protocols/rvhttpexchange.h"
#include "protocols/rvprotocol.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

namespace
{
struct Location {
    QUrl lookup;
    QUrl update;
    QString identifier = QStringLiteral(RV_STORE_ID);
};

QMutex locationLock;
Location &location() // under locationLock
{
    static Location kept;
    return kept;
}

// The configured address, or by default the path beside the booking service, with the
// application's identifier in the query.
QUrl urlOf(QUrl Location::*which, const QString &path)
{
    QMutexLocker lock(&locationLock);
    QUrl url = location().*which;
    if (!url.isValid()) {
        url = RVProtocol::serviceEndpoint();
        url.setPath(path);
    }
    QUrlQuery query(url);
    query.addQueryItem(u"id"_s, location().identifier);
    url.setQuery(query);
    return url;
}
} // namespace

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

void RVStoreLookup::setLocation(const QUrl &lookupUrl, const QUrl &updateUrl,
                                const QString &identifier)
{
    QMutexLocker lock(&locationLock);
    location() = Location{lookupUrl, updateUrl, identifier};
}

QUrl RVStoreLookup::lookupUrl()
{
    {
        QMutexLocker lock(&locationLock);
        if (location().identifier.isEmpty())
            return {};
    }
    return urlOf(&Location::lookup, u"/lookup"_s);
}

QUrl RVStoreLookup::updateUrl()
{
    return urlOf(&Location::update, u"/update"_s);
}

bool RVStoreLookup::offersUpdate(const QByteArray &answer, const QString &version)
{
    const QJsonArray results =
        QJsonDocument::fromJson(answer).object().value(u"results"_s).toArray();
    return !results.isEmpty() &&
           results.first().toObject().value(u"version"_s).toString() != version;
}
