// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvdoctorinfo.h"

#include <QList>
#include <QString>

#include <optional>

// The doctors of the doctor list, eight to a page, as far as they are loaded: which page comes
// next, whether the list has ended, and which search the list belongs to. A search replaces
// the list; every fetch carries the generation of the list it was asked for, so that a page
// that arrives after a search replaced the list is dropped rather than appended to the new
// one. Fetching is a synchronous call meant for a worker; the rest runs on one thread.
class RVDoctorListPages
{
public:
    static constexpr int kPageSize = 8;

    // What the opening screen handed over; an absent (null) filter is not sent.
    struct Filters {
        QString hospitalCode;
        QString deptid;
        QString departmentCode;
    };
    // One fetch, copied for the worker.
    struct Request {
        Filters filters;
        QString doctorName;
        int page = 1;
        quint64 generation = 0;
    };
    // One page as the worker found it.
    struct Page {
        int page = 0;
        quint64 generation = 0;
        QList<RVDoctorInfo> doctors;
        bool HTTPResponseOK = false;
    };
    // Where the load-more header belongs once a page or search is taken.
    enum class Header {
        Removed,   // the list has ended: nothing more to pull
        BelowRows, // more may follow: right below the last row
        Unmoved,   // no rows, and no answer that ended the list: leave it where it is
    };

    void setFilters(const Filters &filters) { m_filters = filters; }
    // Only the list of all doctors is searched by name.
    bool offersSearch() const;

    Request nextPage() const;
    // Starts a search for text, or nothing when the list already shows that search. A search
    // whose exchange failed is asked again for the same text.
    std::optional<Request> search(const QString &text);
    static Page fetch(const Request &request);
    // Each returns false, changing nothing, for a page asked for a list since replaced.
    [[nodiscard]] bool takePage(const Page &page);
    [[nodiscard]] bool takeSearch(const Page &page);
    Header header() const;

    const QList<RVDoctorInfo> &doctorList() const { return m_doctorList; }
    int currentPage() const { return m_currentPage; }
    bool isLastPage() const { return m_isLastPage; }
    const QString &doctorName() const { return m_doctorName; }

private:
    void take(const Page &page, bool replace);

    Filters m_filters;
    QString m_doctorName;
    QList<RVDoctorInfo> m_doctorList;
    // The last page that brought doctors to this list; 0 before the first.
    int m_currentPage = 0;
    bool m_isLastPage = false;
    bool m_searchFailed = false;
    quint64 m_generation = 0;
};
