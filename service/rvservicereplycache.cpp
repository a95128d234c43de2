// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicereplycache.h"

#include <QJsonDocument>

namespace
{
// What the bookkeeping of one entry costs beside its bytes.
constexpr qsizetype entryOverhead = 128;
} // namespace

RVServiceReplyCache::RVServiceReplyCache(qsizetype maxBytes) : m_entries(maxBytes) {}

QByteArray RVServiceReplyCache::keyOf(const QString &code, const QJsonObject &body,
                                      const QString &photoBase, const QString &day)
{
    // A separator no part can hold unescaped: the code and the day are fixed forms, the
    // address comes from a checked Host header, and JSON text escapes control characters.
    return code.toUtf8() + '\x1f' + day.toUtf8() + '\x1f' + photoBase.toUtf8() + '\x1f' +
           QJsonDocument(body).toJson(QJsonDocument::Compact);
}

std::optional<RVServiceOutcome> RVServiceReplyCache::find(const QByteArray &key,
                                                          const QByteArray &version)
{
    QMutexLocker lock(&m_lock);
    const Entry *entry = m_entries.object(key);
    if (!entry || entry->version != version)
        return std::nullopt;
    return entry->outcome;
}

void RVServiceReplyCache::insert(const QByteArray &key, const QByteArray &version,
                                 const RVServiceOutcome &outcome)
{
    if (!outcome.ok || version.isEmpty())
        return;
    auto entry = std::make_unique<Entry>(Entry{version, outcome});
    // Kept as text, as the reply writes it, so that an answer given again is not written anew.
    if (entry->outcome.bodyJson.isEmpty()) {
        entry->outcome.bodyJson = QJsonDocument(outcome.body).toJson(QJsonDocument::Compact);
        entry->outcome.body = QJsonObject();
    }
    const qsizetype cost = key.size() + version.size() + entry->outcome.bodyJson.size() +
                           entry->outcome.retmsg.size() * 2 + entryOverhead;
    QMutexLocker lock(&m_lock);
    m_entries.insert(key, entry.release(), cost); // deletes it when it can never fit
}
