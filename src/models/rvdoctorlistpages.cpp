// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "models/rvdoctorlistpages.h"

#include "protocols/rvprotocol.h"

bool RVDoctorListPages::offersSearch() const
{
    return m_filters.hospitalCode.isNull() && m_filters.deptid.isNull() &&
           m_filters.departmentCode.isNull();
}

RVDoctorListPages::Request RVDoctorListPages::nextPage() const
{
    return {m_filters, m_doctorName, m_currentPage + 1, m_generation};
}

std::optional<RVDoctorListPages::Request> RVDoctorListPages::search(const QString &text)
{
    // The same text means the same string, or both present and equal.
    const bool same =
        text.isNull() ? m_doctorName.isNull() : (!m_doctorName.isNull() && text == m_doctorName);
    if (same && !m_searchFailed)
        return std::nullopt;
    m_doctorName = text;
    m_searchFailed = false;
    // Pages still on their way belong to the list this search replaces.
    ++m_generation;
    return Request{m_filters, m_doctorName, 1, m_generation};
}

RVDoctorListPages::Page RVDoctorListPages::fetch(const Request &request)
{
    RVProtocol client;
    const Filters &filters = request.filters;
    Page page;
    page.page = request.page;
    page.generation = request.generation;
    page.doctors = client
                       .doctorList(filters.hospitalCode, filters.deptid, filters.departmentCode,
                                   request.doctorName, request.page, kPageSize)
                       .value_or(QList<RVDoctorInfo>());
    page.HTTPResponseOK = client.HTTPResponseOK();
    return page;
}

bool RVDoctorListPages::takePage(const Page &page)
{
    if (page.generation != m_generation)
        return false;
    take(page, false);
    return true;
}

bool RVDoctorListPages::takeSearch(const Page &page)
{
    if (page.generation != m_generation)
        return false;
    m_searchFailed = !page.HTTPResponseOK;
    take(page, true);
    return true;
}

void RVDoctorListPages::take(const Page &page, bool replace)
{
    const qsizetype count = page.doctors.size();
    if (replace)
        m_doctorList = page.doctors;
    else
        m_doctorList.append(page.doctors);
    if (count > 0)
        m_currentPage = page.page;
    else if (replace)
        m_currentPage = 0; // the next pull asks this search's first page, not the old list's
    // An empty page ends paging only when the exchange itself went through; a failed one
    // leaves the same page to be asked for again.
    if (count == 0)
        m_isLastPage = page.HTTPResponseOK;
    else if (count < kPageSize)
        m_isLastPage = true;
    else if (replace)
        m_isLastPage = false;
}

RVDoctorListPages::Header RVDoctorListPages::header() const
{
    if (m_isLastPage)
        return Header::Removed;
    return m_doctorList.isEmpty() ? Header::Unmoved : Header::BelowRows;
}
