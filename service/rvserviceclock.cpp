// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvserviceclock.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace
{
struct Texts {
    qint64 second = -1;
    QString compactDate;
    QString compactTime;
    QString isoDate;
};

// This thread's texts of the current second.
const Texts &now()
{
    thread_local Texts texts;
    const qint64 second = QDateTime::currentSecsSinceEpoch();
    if (second != texts.second) {
        const QDateTime local = QDateTime::fromSecsSinceEpoch(second);
        texts = {second, local.toString(u"yyyyMMdd"_s), local.toString(u"HHmmss"_s),
                 local.toString(u"yyyy-MM-dd"_s)};
    }
    return texts;
}
} // namespace

QString RVServiceClock::compactDate()
{
    return now().compactDate;
}

QString RVServiceClock::compactTime()
{
    return now().compactTime;
}

QString RVServiceClock::isoDate()
{
    return now().isoDate;
}
