// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "fakeservice.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

// A booking service for the browsing screens' tests that records every public query it is
// sent (transaction code and request body, read at the service side) and answers each code
// as the test scripts it. It points every client at itself; refuseConnections points them at
// a port where nothing listens, as a service that is down.
class BrowsingTestService final
{
public:
    struct Call {
        QString code;
        QJsonObject body;
    };
    // The reply envelope for a call: {"head": ..., "body": ...}.
    using Answer = std::function<QJsonObject(const Call &)>;

    BrowsingTestService();
    ~BrowsingTestService();

    void setAnswer(const QString &code, Answer answer);
    // Answers a code with the same list every time.
    void setList(const QString &code, const QJsonArray &items);
    QList<Call> calls(const QString &code) const;
    QList<Call> calls() const { return m_calls; }
    void refuseConnections(bool refuse);

    static QJsonObject success(const QJsonObject &body = {});
    static QJsonObject failure(const QString &message);
    static QJsonObject listReply(const QJsonArray &items);
    // Doctors numbered from first, with initials "D<n>" and photo addresses under photoBase.
    static QJsonArray doctors(int first, int count, const QString &photoBase = {});

private:
    FakeService::Response handle(const FakeService::Request &request);

    std::unique_ptr<FakeService> m_service;
    quint16 m_port = 0;
    QHash<QString, Answer> m_answers;
    QList<Call> m_calls;
};
