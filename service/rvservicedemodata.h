// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// The demo data set, invented for this service: hospitals of the fictional city of Binjiang,
// their department tree and their doctors. Everything is computed from fixed tables and a
// fixed seed, so two runs give the same data; the schedules are a function of the doctor and
// the calendar day, so the window of the coming two weeks can be filled at any time and
// always gives the same half-days for the same date.
class RVServiceDemoData final
{
public:
    struct Hospital {
        QString hospid, yymc, yyjc, yydj, yyjs, yydz, yydh, jd, wd;
    };
    struct Department {
        QString deptid, parent, hospid, bzksdm, bzksmc, ksms;
        int sort = 0;
    };
    struct Doctor {
        QString ysdm, hospid, deptid, ysmc, ysxb, yszc, ysxl, ysjl, ysjs, scjb, pym, ghf;
        int sort = 0;
    };
    struct HalfDay {
        bool held = false; // the doctor sits this half-day at all
        int jlzt = 0;      // 1: stopped
        int kyrs = 0;      // places open
    };

    static constexpr int scheduleDays = 14; // today and the 13 following days

    static QList<Hospital> hospitals();
    // Classes first, then the standard departments, then each hospital's departments.
    static QList<Department> departments();
    static QList<Doctor> doctors();

    static HalfDay halfDay(const QString &ysdm, QDate day, int bcbm);
    // "HH:mm" of each slot of a morning (bcbm 1) or afternoon (2); fzxh counts from 1.
    static QStringList slotTimes(int bcbm);
    static QString pbid(const QString &ysdm, QDate day, int bcbm);
    // Upper-case initials of a name made of the characters this data set uses; a character
    // it does not know is skipped.
    static QString initials(const QString &name);
};
