// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

class QSqlQuery;

// A list reply body, {"list":[{...},...]}, written as compact JSON text straight from the rows
// of a query, every value a string and NULL columns left out, as the records write them.
// Assembling a doctor page through QJsonObject cost four times what its query costs; text
// written once costs a small part of it. Strings are escaped as JSON requires (quote,
// backslash and control characters), everything else goes out as UTF-8.
class RVServiceListWriter final
{
public:
    using Fields = QList<std::pair<QString, QString>>;

    // The columns of the query's current row under the keys, then the extra fields.
    void addRow(const QSqlQuery &query, const QStringList &keys, const Fields &extra = {});
    // The body, with the given fields beside "list".
    QByteArray finish(const Fields &beside = {}) const;

    static void appendString(QByteArray &out, QStringView text);

private:
    static void appendField(QByteArray &out, bool &first, QStringView key, QStringView value);

    QByteArray m_rows;
};
