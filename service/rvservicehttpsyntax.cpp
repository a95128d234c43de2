// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicehttpsyntax.h"

#include <string_view>

namespace
{
bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isAlphaNumeric(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isOneOf(char c, std::string_view set)
{
    return c != '\0' && set.find(c) != std::string_view::npos;
}

bool isTokenChar(char c)
{
    return isAlphaNumeric(c) || isOneOf(c, "!#$%&'*+-.^_`|~");
}

// Visible characters, space, tab, and the bytes above ASCII that old clients send in values.
bool isValueByte(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u == '\t' || (u >= 0x20 && u != 0x7f);
}

// Letters, digits, the given punctuation and well-formed percent escapes; nothing else of a
// URI's text (no blank, no control, no byte above ASCII).
bool isUriText(QByteArrayView text, std::string_view punctuation)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '%') {
            if (i + 2 >= text.size() || !isHexDigit(text.at(i + 1)) || !isHexDigit(text.at(i + 2)))
                return false;
            i += 2;
        } else if (!isAlphaNumeric(c) && !isOneOf(c, punctuation)) {
            return false;
        }
    }
    return true;
}

constexpr std::string_view pathAndQueryPunctuation = "-._~!$&'()*+,;=:@/?";
constexpr std::string_view authorityPunctuation = "-._~!$&'()*+,;=:[]";

// A chunk extension's value in quotes, with backslash escapes; moves the position past it.
bool takeQuoted(QByteArrayView text, qsizetype *at)
{
    qsizetype i = *at;
    if (i >= text.size() || text.at(i) != '"')
        return false;
    for (++i; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '"') {
            *at = i + 1;
            return true;
        }
        if (c == '\\')
            ++i;
        if (i >= text.size() || !isValueByte(text.at(i)))
            return false;
    }
    return false;
}

bool takeToken(QByteArrayView text, qsizetype *at)
{
    const qsizetype start = *at;
    while (*at < text.size() && isTokenChar(text.at(*at)))
        ++*at;
    return *at > start;
}

void skipBlanks(QByteArrayView text, qsizetype *at)
{
    while (*at < text.size() && isBlank(text.at(*at)))
        ++*at;
}
} // namespace

bool RVServiceHttpSyntax::isToken(QByteArrayView text)
{
    qsizetype end = 0;
    return takeToken(text, &end) && end == text.size();
}

bool RVServiceHttpSyntax::splitField(QByteArrayView line, QByteArray *name, QByteArray *value)
{
    // A blank before the colon, or a line folded onto the previous one, makes no token.
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0 || !isToken(line.first(colon)))
        return false;
    const QByteArrayView raw = line.sliced(colon + 1);
    // Checked before trimming, so that no control character at either end goes unseen.
    for (const char c : raw)
        if (!isValueByte(c))
            return false;
    *name = line.first(colon).toByteArray().toLower();
    *value = trimBlanks(raw).toByteArray();
    return true;
}

bool RVServiceHttpSyntax::isOriginForm(QByteArrayView target)
{
    return target.startsWith('/') && isUriText(target, pathAndQueryPunctuation);
}

bool RVServiceHttpSyntax::splitAbsoluteForm(QByteArrayView target, QByteArray *authority,
                                            QByteArray *originForm)
{
    const qsizetype separator = target.indexOf("://");
    if (separator < 0)
        return false;
    const QByteArrayView scheme = target.first(separator);
    if (scheme.compare("http", Qt::CaseInsensitive) != 0 &&
        scheme.compare("https", Qt::CaseInsensitive) != 0)
        return false;
    const QByteArrayView rest = target.sliced(separator + 3);
    qsizetype end = 0;
    while (end < rest.size() && rest.at(end) != '/' && rest.at(end) != '?')
        ++end;
    QByteArray origin = rest.sliced(end).toByteArray();
    if (!origin.startsWith('/'))
        origin.prepend('/');
    if (end == 0 || !isAuthority(rest.first(end)) || !isOriginForm(origin))
        return false;
    *authority = rest.first(end).toByteArray();
    *originForm = origin;
    return true;
}

bool RVServiceHttpSyntax::isAuthority(QByteArrayView text)
{
    return isUriText(text, authorityPunctuation);
}

bool RVServiceHttpSyntax::isChunkExtensions(QByteArrayView text)
{
    qsizetype at = 0;
    while (at < text.size()) {
        skipBlanks(text, &at);
        if (at >= text.size() || text.at(at) != ';')
            return false; // blanks or anything else with no extension after them
        ++at;
        skipBlanks(text, &at);
        if (!takeToken(text, &at))
            return false;
        const qsizetype afterName = at;
        skipBlanks(text, &at);
        if (at < text.size() && text.at(at) == '=') {
            ++at;
            skipBlanks(text, &at);
            if (!takeToken(text, &at) && !takeQuoted(text, &at))
                return false;
        } else {
            at = afterName;
        }
    }
    return true;
}

QByteArrayView RVServiceHttpSyntax::trimBlanks(QByteArrayView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}
