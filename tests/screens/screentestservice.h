// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "fakeservice.h"

#include <QString>

#include <memory>

// A booking service for the screen tests: logs in "li" with the password "right", refuses any
// other password with "密码错误", and answers the store lookup with a chosen version. It points
// every client at itself.
class ScreenTestService final
{
public:
    ScreenTestService();

    int logins() const { return m_logins; }
    QString lastLoginName() const { return m_lastName; }
    int lookups() const { return m_lookups; }
    void setStoreVersion(const QString &version) { m_version = version; }
    // Logins are answered only after this long (the service busy or far away).
    void setLoginDelayMs(int ms) { m_loginDelayMs = ms; }
    QByteArray lastLookupHeaders() const { return m_lookupHeaders; }

private:
    FakeService::Response handle(const FakeService::Request &request);

    std::unique_ptr<FakeService> m_service;
    int m_logins = 0;
    int m_lookups = 0;
    QString m_lastName;
    QString m_version = QStringLiteral("1.0.0");
    int m_loginDelayMs = 0;
    QByteArray m_lookupHeaders;
};
