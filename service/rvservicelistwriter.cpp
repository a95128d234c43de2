// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicelistwriter.h"

#include <QSqlQuery>
#include <QVariant>

void RVServiceListWriter::appendString(QByteArray &out, QStringView text)
{
    static constexpr char hex[] = "0123456789abcdef";
    const QByteArray utf8 = text.toUtf8();
    const char *run = utf8.constData();
    const char *const end = run + utf8.size();
    out += '"';
    // Runs that need no escape go in whole.
    for (const char *at = run; at < end; ++at) {
        const auto byte = static_cast<unsigned char>(*at);
        if (byte >= 0x20 && byte != '"' && byte != '\\')
            continue;
        out.append(run, at - run);
        if (byte < 0x20) {
            const char escaped[] = {'\\', 'u', '0', '0', hex[byte >> 4], hex[byte & 0xf]};
            out.append(escaped, sizeof escaped);
        } else {
            const char escaped[] = {'\\', *at};
            out.append(escaped, sizeof escaped);
        }
        run = at + 1;
    }
    out.append(run, end - run);
    out += '"';
}

void RVServiceListWriter::appendField(QByteArray &out, bool &first, QStringView key,
                                      QStringView value)
{
    if (!std::exchange(first, false))
        out += ',';
    appendString(out, key);
    out += ':';
    appendString(out, value);
}

void RVServiceListWriter::addRow(const QSqlQuery &query, const QStringList &keys,
                                 const Fields &extra)
{
    if (!m_rows.isEmpty())
        m_rows += ',';
    m_rows += '{';
    bool first = true;
    for (int i = 0; i < keys.size(); ++i) {
        const QVariant value = query.value(i);
        if (!value.isNull())
            appendField(m_rows, first, keys.at(i), value.toString());
    }
    for (const auto &[key, value] : extra)
        appendField(m_rows, first, key, value);
    m_rows += '}';
}

QByteArray RVServiceListWriter::finish(const Fields &beside) const
{
    QByteArray out = "{";
    bool first = true;
    for (const auto &[key, value] : beside)
        appendField(out, first, key, value);
    if (!first)
        out += ',';
    out += "\"list\":[";
    out += m_rows;
    out += "]}";
    return out;
}
