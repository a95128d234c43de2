// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "service/rvserviceaccounts.h"
#include "service/rvservicebookings.h"
#include "service/rvservicecatalogue.h"
#include "service/rvservicereplycache.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringView>

class RVServiceDatabase;

// One exchange of the booking endpoint, from the posted form to the reply bytes: reads the
// form, picks the key by the code's first letter ('A' the fixed key, 'B' none, 'C' the login
// key of the user named in "yhm"), opens the message, runs the transaction and seals the
// reply. Every failure becomes a reply with succflag "-1" and a message; only a body that is
// not the form at all, or too large, gets an HTTP error instead. The answers of the public
// queries are kept in a reply cache, checked against the store's data version on every use.
// Independent of HTTP, so the tests can drive it directly.
class RVServiceRouter final
{
public:
    struct Exchange {
        int status = 200;
        QByteArray contentType;
        QByteArray body;
        // For the log line.
        QString code;
        QString user;
        bool ok = false;
        QString message;
    };

    static constexpr qsizetype maxRequestBytes = 1024 * 1024;
    static constexpr qsizetype defaultReplyCacheBytes = 16 * 1024 * 1024;

    // replyCacheBytes 0 keeps no answers.
    explicit RVServiceRouter(RVServiceDatabase &database,
                             qsizetype replyCacheBytes = defaultReplyCacheBytes);

    // photoBase is "http://host:port" as the client reached the service.
    Exchange handle(const QByteArray &requestBody, const QString &photoBase);

    static bool isKnownCode(const QString &code);
    RVServiceCatalogue &catalogue() { return m_catalogue; }

private:
    struct Input {
        const QJsonObject &body;
        const RVServiceAccounts::Caller *caller;
        const QString &photoBase;
    };
    struct Route {
        QStringView code;
        bool forUser;
        RVServiceOutcome (*run)(RVServiceRouter &router, const Input &input);
    };
    static const Route *find(const QString &code);
    RVServiceOutcome dispatch(const QString &code, const QJsonObject &body,
                              const RVServiceAccounts::Caller *caller, const QString &photoBase);
    // A public query, answered from the reply cache when the data has not changed since.
    RVServiceOutcome query(const QString &code, const QJsonObject &body, const QString &photoBase);
    static Exchange reply(Exchange exchange, const RVServiceOutcome &outcome,
                          const QString &keyText);

    RVServiceDatabase &m_database;
    std::unique_ptr<RVServiceReplyCache> m_cache;
    RVServiceAccounts m_accounts;
    RVServiceCatalogue m_catalogue;
    RVServiceBookings m_bookings;
};
