// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvserviceoutcome.h"

using namespace Qt::StringLiterals;

RVServiceOutcome RVServiceOutcome::success(const QString &message, const QJsonObject &body)
{
    return RVServiceOutcome{true, message, body, {}};
}

RVServiceOutcome RVServiceOutcome::success(const QString &message, const QByteArray &bodyJson)
{
    return RVServiceOutcome{true, message, {}, bodyJson};
}

RVServiceOutcome RVServiceOutcome::refusal(const QString &message)
{
    return RVServiceOutcome{false, message, {}, {}};
}

RVServiceOutcome RVServiceOutcome::missing(const QString &key)
{
    return refusal(u"缺少必填字段：%1"_s.arg(key));
}

RVServiceOutcome RVServiceOutcome::storeFailure()
{
    return refusal(u"服务暂时不可用，请稍后再试"_s);
}
