// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicehttpresponse.h"

RVServiceHttpResponse RVServiceHttpResponse::text(int status, const QByteArray &text)
{
    RVServiceHttpResponse response;
    response.status = status;
    response.body = text;
    return response;
}

QByteArray RVServiceHttpResponse::reasonPhrase(int status)
{
    switch (status) {
    case 100:
        return "Continue";
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 413:
        return "Content Too Large";
    case 431:
        return "Request Header Fields Too Large";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    case 503:
        return "Service Unavailable";
    case 505:
        return "HTTP Version Not Supported";
    default:
        return status >= 200 && status < 300 ? "OK" : "Error";
    }
}

QByteArray RVServiceHttpResponse::serialized(bool keepAlive, bool headOnly) const
{
    QByteArray out;
    out.reserve(160 + (headOnly ? 0 : body.size()));
    out += "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) + "\r\n";
    if (!contentType.isEmpty())
        out += "Content-Type: " + contentType + "\r\n";
    out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    out += keepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    for (const auto &[name, value] : headers)
        out += name + ": " + value + "\r\n";
    out += "\r\n";
    if (!headOnly)
        out += body;
    return out;
}
