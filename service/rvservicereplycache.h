// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "service/rvserviceoutcome.h"

#include <QByteArray>
#include <QCache>
#include <QJsonObject>
#include <QMutex>
#include <QString>

#include <optional>

// The answers of the public queries, kept so that the same page asked again costs no query.
// Each answer is kept with the data version (RVServiceDatabase::dataVersion) taken before
// its query ran, and is given out only while the version is still the same: a commit of any
// process in between makes every kept answer unusable, so no answer is ever older than what
// a commit the asker could know of has written. Only successful answers are kept; the least
// recently used go first once their size would pass the bound. Safe from several threads.
class RVServiceReplyCache final
{
public:
    // maxBytes bounds the keys and answers kept, counted by their sizes.
    explicit RVServiceReplyCache(qsizetype maxBytes);
    Q_DISABLE_COPY_MOVE(RVServiceReplyCache)

    // Everything an answer depends on besides the data: the transaction, the request body,
    // the address photographs are served from and the day (the schedule window moves).
    static QByteArray keyOf(const QString &code, const QJsonObject &body, const QString &photoBase,
                            const QString &day);

    // The answer kept under the key for exactly this data version; nullopt otherwise.
    std::optional<RVServiceOutcome> find(const QByteArray &key, const QByteArray &version);
    // Keeps a successful answer computed at the given data version.
    void insert(const QByteArray &key, const QByteArray &version, const RVServiceOutcome &outcome);

private:
    struct Entry {
        QByteArray version;
        RVServiceOutcome outcome;
    };

    QMutex m_lock;
    QCache<QByteArray, Entry> m_entries;
};
