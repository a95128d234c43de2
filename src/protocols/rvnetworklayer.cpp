// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "protocols/rvnetworklayer.h"

#include "protocols/rvcurlnetworklayer.h"

#include <atomic>

using namespace Qt::StringLiterals;

namespace
{

std::atomic<RVNetworkLayer *> replacement{nullptr};

} // namespace

RVNetworkLayer::Sink::~Sink() = default;

RVNetworkLayer::~RVNetworkLayer() = default;

QString RVNetworkLayer::userMessage(FailureKind kind)
{
    switch (kind) {
    case FailureKind::None:
        return {};
    case FailureKind::CannotConnect:
        return u"无法连接服务器。"_s;
    case FailureKind::TimedOut:
        return u"网络请求超时。"_s;
    case FailureKind::ConnectionLost:
        return u"与服务器的连接中断。"_s;
    case FailureKind::TooLarge:
        return u"网络出错。"_s;
    case FailureKind::BadAddress:
        return u"服务器地址无效。"_s;
    case FailureKind::Other:
        break;
    }
    return u"网络连接失败。"_s;
}

RVNetworkLayer *RVNetworkLayer::defaultLayer()
{
    if (RVNetworkLayer *layer = replacement.load())
        return layer;
    // Made on first use from whichever thread asks; its thread ends when the program does.
    static RVCurlNetworkLayer application;
    return &application;
}

void RVNetworkLayer::setDefaultLayer(RVNetworkLayer *layer)
{
    replacement.store(layer);
}
