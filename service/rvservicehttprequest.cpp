// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicehttprequest.h"

#include <QUrl>

using namespace Qt::StringLiterals;

QByteArray RVServiceHttpRequest::header(QByteArrayView name) const
{
    for (const auto &[key, value] : headers)
        if (name.compare(key, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

bool RVServiceHttpRequest::headerHasToken(QByteArrayView name, QByteArrayView token) const
{
    for (const auto &[key, value] : headers) {
        if (name.compare(key, Qt::CaseInsensitive) != 0)
            continue;
        for (const QByteArray &element : value.split(','))
            if (token.compare(element.trimmed(), Qt::CaseInsensitive) == 0)
                return true;
    }
    return false;
}

QString RVServiceHttpRequest::path() const
{
    const qsizetype mark = target.indexOf('?');
    return QUrl::fromPercentEncoding(mark < 0 ? target : target.left(mark));
}

QUrlQuery RVServiceHttpRequest::query() const
{
    const qsizetype mark = target.indexOf('?');
    return mark < 0 ? QUrlQuery() : QUrlQuery(QString::fromLatin1(target.mid(mark + 1)));
}

bool RVServiceHttpRequest::keepAlive() const
{
    if (headerHasToken("connection", "close"))
        return false;
    // An HTTP/1.0 client cannot have meant chunked framing: whatever it sends after this
    // body may be framed otherwise, so the connection ends with the reply.
    if (minorVersion == 0 && !header("transfer-encoding").isNull())
        return false;
    return minorVersion >= 1 || headerHasToken("connection", "keep-alive");
}
