// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvserviceaddress.h"

#include <arpa/inet.h>

#include <array>
#include <atomic>

using namespace Qt::StringLiterals;

namespace
{

#ifndef RV_ALLOW_PLAIN_HTTP
#define RV_ALLOW_PLAIN_HTTP 0
#endif
std::atomic<bool> plainAllowed{RV_ALLOW_PLAIN_HTTP != 0};

QString formsText()
{
    return u"a service address is https://host:port, http://host:port or host:port"_s;
}

} // namespace

std::optional<QUrl> RVServiceAddress::parse(const QString &text, QString *error)
{
    const QString trimmed = text.trimmed();
    const bool bare = !trimmed.contains(u"://"_s);
    const QUrl url(bare ? u"http://"_s + trimmed : trimmed, QUrl::StrictMode);
    const QString scheme = url.scheme();
    const bool usable = url.isValid() && (scheme == u"http"_s || scheme == u"https"_s) &&
                        !url.host().isEmpty() && url.userInfo().isEmpty() && !url.hasQuery() &&
                        !url.hasFragment() && (url.path().isEmpty() || url.path() == u"/"_s) &&
                        (!bare || url.port() > 0) && url.port() != 0;
    if (!usable) {
        *error = u"%1, not \"%2\""_s.arg(formsText(), text);
        return std::nullopt;
    }
    QUrl base;
    base.setScheme(scheme);
    base.setHost(url.host());
    base.setPort(url.port(scheme == u"https"_s ? 443 : 80));
    return base;
}

bool RVServiceAddress::isLoopback(const QString &host)
{
    QString name = host;
    if (name.startsWith(u'[') && name.endsWith(u']'))
        name = name.mid(1, name.size() - 2);
    if (name.compare(u"localhost"_s, Qt::CaseInsensitive) == 0)
        return true;
    const QByteArray latin = name.toLatin1();
    std::array<unsigned char, 16> bytes{};
    if (inet_pton(AF_INET, latin.constData(), bytes.data()) == 1)
        return bytes[0] == 127;
    if (inet_pton(AF_INET6, latin.constData(), bytes.data()) != 1)
        return false;
    constexpr std::array<unsigned char, 16> v6Loopback{0, 0, 0, 0, 0, 0, 0, 0,
                                                       0, 0, 0, 0, 0, 0, 0, 1};
    return bytes == v6Loopback;
}

QString RVServiceAddress::plainHttpRefusal(const QUrl &url, bool plainHttpAllowed)
{
    if (url.scheme() != u"http"_s || plainHttpAllowed || isLoopback(url.host()))
        return {};
    return u"plain HTTP to %1 refused: the password would cross the network under the "
           "protocol's fixed key; use https:// (or --allow-plain-http on a network you trust)"_s
               .arg(url.host());
}

void RVServiceAddress::setPlainHttpAllowed(bool allowed)
{
    plainAllowed.store(allowed);
}

bool RVServiceAddress::allowed()
{
    return plainAllowed.load();
}
