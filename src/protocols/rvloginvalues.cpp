// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvloginvalues.h"

#include <QMutex>

namespace
{
QMutex &lock()
{
    static QMutex mutex;
    return mutex;
}
RVLoginValues::Pair &values()
{
    static RVLoginValues::Pair pair;
    return pair;
}
} // namespace

RVLoginValues::Pair RVLoginValues::current()
{
    QMutexLocker locker(&lock());
    return values();
}

QString RVLoginValues::username()
{
    return current().username;
}

QString RVLoginValues::dynamicKey()
{
    return current().dynamicKey;
}

void RVLoginValues::set(const QString &username, const QString &dynamicKey)
{
    QMutexLocker locker(&lock());
    values() = Pair{username, dynamicKey};
}

void RVLoginValues::clear()
{
    set(QString(), QString());
}
