// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "service/rvserviceoutcome.h"

#include <QDate>
#include <QJsonObject>
#include <QString>

#include <optional>

class QSqlQuery;
class RVServiceDatabase;

// The public queries: hospitals, the department tree, doctors, their half-day schedules over
// today and the 13 following days, and the free time slots of a half-day. Read-only; every
// reply body is written through the shared records so that it reads back as the client expects.
class RVServiceCatalogue final
{
public:
    explicit RVServiceCatalogue(RVServiceDatabase &database);

    RVServiceOutcome hospitalList(const QJsonObject &body);
    RVServiceOutcome hospitalInfo(const QJsonObject &body);
    // "B003" and "B004": the children of a department ("0" for the classes), limited to one
    // hospital when one is named.
    RVServiceOutcome departmentList(const QJsonObject &body);
    RVServiceOutcome diseaseList();
    // photoBase is "http://host:port", the address the photographs are served from.
    RVServiceOutcome doctorList(const QJsonObject &body, const QString &photoBase);
    RVServiceOutcome doctorInfo(const QJsonObject &body, const QString &photoBase);
    RVServiceOutcome doctorSchedules(const QJsonObject &body);
    RVServiceOutcome timeSlots(const QJsonObject &body);

    // The doctor's sex for the photograph ("女" or "男"); nullopt for an unknown doctor.
    std::optional<QString> doctorSex(const QString &ysdm);

    static constexpr int defaultPageSize = 8;
    static constexpr int maxPageSize = 100;
    static constexpr int maxPage = 1'000'000;
    // First and last day of the schedule window, "yyyy-MM-dd".
    static QString windowStart();
    static QString windowEnd();

private:
    RVServiceDatabase &m_database;
};
